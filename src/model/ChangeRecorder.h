#pragma once
// Follows what the Librarian's operations change, at two grains: each operation on its own
// (what the session journal writes) and the step that one command makes of one or many
// operations (what one undo takes back). A step is opened and closed by the command, or by the
// operation itself when no command opened one; brackets nest and the outermost label wins.

#include <QString>
#include <bitset>
#include <vector>

#include "model/ChangeSet.h"
#include "model/Matrix.h"

namespace zanq {

class ChangeRecorder {
public:
    bool stepOpen() const { return stepDepth_ > 0; }
    void openStep(const QString& label);
    // The finished step when the outermost bracket closes and something changed; else null.
    ChangeSetPtr closeStep(const Matrix& now);

    void operationStarts() { ++operationDepth_; }
    // What the outermost operation changed, now folded into the open step; null when nothing.
    ChangeSetPtr operationEnds(const Matrix& now);

    // Called before a slot is written; only the first record a slot held counts.
    void slotWillChange(Slot slot, const PatchRecord& before);
    void libraryChanged(LibraryChange change);

private:
    // What changed since the last take(): the first record of every slot written, and the
    // library changes in order.
    struct Pending {
        std::bitset<Bank::kCount * Program::kCount> seen;
        std::vector<std::pair<Slot, PatchRecord>> befores;
        std::vector<LibraryChange> library;

        void noteSlot(Slot slot, const PatchRecord& before);
        // The slots whose record now differs from the first one, and the library changes, as
        // one change set (null when nothing changed); starts afresh.
        ChangeSetPtr take(const Matrix& now, QString label = {});
    };

    int stepDepth_ = 0;
    int operationDepth_ = 0;
    QString label_;
    Pending step_;
    Pending operation_;
};

}  // namespace zanq
