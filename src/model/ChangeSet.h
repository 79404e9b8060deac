#pragma once
// What one change of the stores did, as before and after values: enough to play it backwards
// (undo), forwards again (redo) and to write it to the session journal. Only what changed is
// kept: a slot appears once with its first and last record, library entries in the order they
// changed.

#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "model/PatchRecord.h"
#include "model/Slot.h"

namespace zanq {

struct SlotChange {
    Slot slot;
    PatchRecord before;
    PatchRecord after;
};

// One library entry. Nothing stands for "no such entry": an entry that appears at the end of
// the library, or the last entry going away. Both present means the entry was rewritten (an
// emptied entry is present and empty).
struct LibraryChange {
    std::size_t index = 0;
    std::optional<PatchRecord> before;
    std::optional<PatchRecord> after;
};

struct ChangeSet {
    // How the step reads in the Edit menu: "Swap B-003 and C-010".
    QString label;
    std::vector<SlotChange> matrix;
    // In the order they happened; replaying them in order (or backwards, swapped) keeps every
    // index valid.
    std::vector<LibraryChange> library;

    bool empty() const { return matrix.empty() && library.empty(); }
    // The change that takes the stores back from after to before.
    ChangeSet inverse() const;
};

using ChangeSetPtr = std::shared_ptr<const ChangeSet>;

}  // namespace zanq
