// The Librarian's steps: brackets, undo and redo by replaying recorded changes, and replacing
// both stores at once.

#include <array>

#include "model/Librarian.h"

namespace zanq {

namespace {
// Beyond this many library changes in one replay, the list is shown again whole: cheaper than
// finding and removing thousands of lines one by one.
constexpr std::size_t kLineByLineReplay = 256;
}  // namespace

Librarian::Operation::~Operation() {
    if (ChangeSetPtr change = librarian_.recorder_.operationEnds(librarian_.matrix_))
        emit librarian_.changed(change);
    if (ownStep_)
        librarian_.endStep();
}

void Librarian::beginStep(const QString& label) {
    const bool opening = !stepOpen();
    recorder_.openStep(label);
    if (opening)
        emit stepOpenChanged(true);
}

void Librarian::endStep() {
    if (!stepOpen())
        return;
    ChangeSetPtr step = recorder_.closeStep(matrix_);
    if (stepOpen())
        return;
    emit stepOpenChanged(false);
    if (step)
        emit stepRecorded(step);
}

bool Librarian::undoStep(const ChangeSetPtr& step) {
    if (stepOpen() || !step)
        return false;
    replay(std::make_shared<const ChangeSet>(step->inverse()));
    return true;
}

bool Librarian::redoStep(const ChangeSetPtr& step) {
    if (stepOpen() || !step)
        return false;
    replay(step);
    return true;
}

void Librarian::replay(const ChangeSetPtr& change) {
    std::array<int, Bank::kCount> perBank{};
    for (const SlotChange& slot : change->matrix) {
        matrix_.set(slot.slot, slot.after);
        ++perBank[static_cast<std::size_t>(slot.slot.bank.byte())];
    }
    for (int b = 0; b < Bank::kCount; ++b)
        if (perBank[static_cast<std::size_t>(b)] > 1)
            emit bankChanged(Bank::fromByte(b));
    for (const SlotChange& slot : change->matrix)
        if (perBank[static_cast<std::size_t>(slot.slot.bank.byte())] == 1)
            emit slotChanged(slot.slot);

    const bool lineByLine = change->library.size() <= kLineByLineReplay;
    for (const LibraryChange& entry : change->library)
        replayLibrary(entry, lineByLine);
    if (!lineByLine)
        announceWholeLibrary();
    if (!change->library.empty())
        emit libraryCountChanged(library_.patchCount());
    emit changed(change);
}

void Librarian::replayLibrary(const LibraryChange& change, bool announce) {
    const std::size_t index = change.index;
    if (index == 0 || index > library_.size())
        return;
    const std::string oldName = index < library_.size() ? library_.nameAt(index) : std::string();
    if (!change.after)
        library_.removeLastEntry();
    else if (index == library_.size())
        library_.AddToLibrary(*change.after);
    else
        library_.replaceEntry(index, *change.after);
    if (!announce)
        return;
    if (!oldName.empty())
        emit libraryEntryRemoved(index, oldName);
    if (change.after && index < library_.size()) {
        const std::string name = library_.nameAt(index);
        if (!name.empty())
            emit libraryEntryAdded(index, name);
    }
}

void Librarian::announceWholeLibrary() {
    emit libraryCleared();
    for (std::size_t index = 1; index < library_.size(); ++index) {
        const std::string name = library_.nameAt(index);
        if (!name.empty())
            emit libraryEntryAdded(index, name);
    }
}

StoreContents Librarian::contents() const {
    StoreContents contents;
    for (std::size_t i = 0; i < contents.matrix.size(); ++i)
        contents.matrix[i] = matrix_.at(Slot::fromIndex(static_cast<int>(i)));
    contents.library.reserve(library_.size() - 1);
    for (std::size_t index = 1; index < library_.size(); ++index)
        contents.library.push_back(library_.entry(index));
    return contents;
}

void Librarian::restore(const StoreContents& contents, const QString& label) {
    Operation operation(*this, [&] { return label; });
    for (std::size_t i = 0; i < contents.matrix.size(); ++i) {
        const Slot slot = Slot::fromIndex(static_cast<int>(i));
        if (matrix_.at(slot) != contents.matrix[i])
            put(slot, contents.matrix[i]);
    }
    for (int b = 0; b < Bank::kCount; ++b)
        emit bankChanged(Bank::fromByte(b));

    bool sameLibrary = contents.library.size() == library_.size() - 1;
    for (std::size_t i = 0; sameLibrary && i < contents.library.size(); ++i)
        sameLibrary = contents.library[i] == library_.entry(i + 1);
    if (sameLibrary)
        return;
    clearLibrary();
    for (const PatchRecord& entry : contents.library) {
        recorder_.libraryChanged({library_.size(), std::nullopt, entry});
        library_.AddToLibrary(entry);
    }
    announceWholeLibrary();
    emit libraryCountChanged(library_.patchCount());
}

}  // namespace zanq
