#pragma once
// The one owner of the Matrix and the Patch Library. Every change of either goes through a
// method here, and every change is announced by a signal that any number of listeners follow
// (the grid, the library list, the status bar, the undo history, the session journal). Windows
// ask their questions first and then call one method; nothing here talks to the user.
//
// Every change also belongs to a step: what one command did, undone and redone as one. A
// command that calls many methods (a file load, a bank receive) brackets them with
// beginStep/endStep (or a StepScope); a lone call is its own step.
//
// Plain QtCore: the command-line companion and the tests use it without any window.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChangeRecorder.h"
#include "model/ChangeSet.h"
#include "model/Library.h"
#include "model/Matrix.h"
#include "model/Slot.h"
#include "model/StoreContents.h"
#include "model/SynthDialect.h"

namespace zanq {

enum class LoadTarget { Matrix, Library, Both };

struct LoadCounts {
    std::size_t records = 0;         // valid records seen
    std::size_t placedInMatrix = 0;  // Matrix slots written
    std::size_t addedToLibrary = 0;  // new library entries
};

// One .syx file loaded: what it gave, or why it could not be read.
struct FileLoad {
    QString error;  // empty when the file was read to its end
    LoadCounts counts;
};

class Librarian : public QObject {
    Q_OBJECT
public:
    explicit Librarian(const SynthDialect& dialect, QObject* parent = nullptr);

    const SynthDialect& dialect() const { return dialect_; }
    const Matrix& matrix() const { return matrix_; }
    const Library& library() const { return library_; }

    const PatchRecord& at(Slot slot) const;
    bool isEmpty(Slot slot) const { return at(slot).empty(); }
    // The first library entry of that name, or nothing.
    std::optional<PatchRecord> libraryPatch(const std::string& name) const;

    // Loading: records the dialect finds valid; anything else, the empty record included, is
    // passed over. To the Matrix at the slot each names (a later one for the same slot wins),
    // to the Library when its name is new and not empty.
    LoadCounts apply(const std::vector<PatchRecord>& records, LoadTarget target);
    LoadCounts apply(const PatchRecord& record, LoadTarget target);

    // Files, read a chunk at a time so that memory does not grow with the file; each chunk's
    // records are applied as above. Paths are in the file system's own bytes. Only regular
    // files are read (a pipe or a device is an error, never a wait). The window drives the
    // same reading in slices on its event loop (SysexLoadRun); these finish before they return.
    FileLoad loadFile(const QByteArray& nativePath, LoadTarget target);

    // Editing the Matrix. Records that land in a slot are retargeted to it.
    // Moves from -> to; a filled target trades places with the origin. Nothing when from == to.
    void moveOrSwap(Slot from, Slot to);
    // The first library entry of that name, copied into slot; false when there is none.
    bool copyFromLibrary(const std::string& name, Slot to);
    // A retargeted copy of record into slot.
    void place(Slot slot, const PatchRecord& record);
    void deleteSlot(Slot slot);
    // Stores a received program at the slot it names; the slot, or nothing when the reply is
    // not a valid record (and then nothing changes).
    std::optional<Slot> storeReceived(std::string_view reply);

    // Editing the Library: empties the first entry of that name; false when there is none.
    bool deleteFromLibrary(const std::string& name);

    // Bank tools: every record that lands in a bank is retargeted to it.
    void copyBank(Bank from, Bank to);
    void swapBanks(Bank a, Bank b);
    // Empties the given banks and, when asked, the whole library.
    void clear(const std::set<Bank>& banks, bool library);

    // Steps. Brackets nest; the outermost label names the step. Whatever changes while a step
    // is open belongs to it, so a long command that lets events run takes in a drop made
    // meanwhile rather than splitting around it.
    void beginStep(const QString& label);
    void endStep();
    bool stepOpen() const { return recorder_.stepOpen(); }
    // Plays a recorded step backwards, or forwards again. Refused (false) while a step is open:
    // the stores must be as the step left them, or as it found them.
    bool undoStep(const ChangeSetPtr& step);
    bool redoStep(const ChangeSetPtr& step);

    // Both stores as plain values, and both replaced by such values as one step.
    StoreContents contents() const;
    void restore(const StoreContents& contents, const QString& label);

signals:
    // A Matrix cell of banks A..H now holds something else.
    void slotChanged(zanq::Slot slot);
    // Many cells of one bank changed at once (bank copy, swap, clear, a file load): repaint it
    // whole. Sent instead of slotChanged for those cells.
    void bankChanged(zanq::Bank bank);
    void libraryEntryAdded(std::size_t index, const std::string& name);
    void libraryEntryRemoved(std::size_t index, const std::string& name);
    void libraryCleared();
    // After any library change: the number of patches it holds.
    void libraryCountChanged(std::size_t patches);

    // After every operation, undo and redo: what the stores now hold where they changed.
    void changed(zanq::ChangeSetPtr change);
    // A step has ended that changed something.
    void stepRecorded(zanq::ChangeSetPtr step);
    // A bracket opened or the outermost one closed.
    void stepOpenChanged(bool open);

private:
    // Brackets one public method: records what it changes, announces that as one change, and
    // makes it a step of its own when no step is open. label is called only then.
    class Operation {
    public:
        template <typename MakeLabel>
        Operation(Librarian& librarian, MakeLabel&& label) : librarian_(librarian) {
            if (!librarian_.stepOpen()) {
                ownStep_ = true;
                librarian_.beginStep(label());
            }
            librarian_.recorder_.operationStarts();
        }
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        Librarian& librarian_;
        bool ownStep_ = false;
    };

    void put(Slot slot, PatchRecord record);
    bool addToLibrary(const PatchRecord& record);
    void clearLibrary();
    void replay(const ChangeSetPtr& change);
    void replayLibrary(const LibraryChange& change, bool announce);
    void announceWholeLibrary();

    const SynthDialect& dialect_;
    Matrix matrix_;
    Library library_;
    ChangeRecorder recorder_;
};

}  // namespace zanq

Q_DECLARE_METATYPE(zanq::ChangeSetPtr)
