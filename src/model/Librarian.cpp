#include "model/Librarian.h"

#include <array>

#include "model/StepLabels.h"

namespace zanq {

Librarian::Librarian(const SynthDialect& dialect, QObject* parent)
    : QObject(parent), dialect_(dialect), library_(dialect) {}

const PatchRecord& Librarian::at(Slot slot) const {
    return matrix_.at(slot);
}

std::optional<PatchRecord> Librarian::libraryPatch(const std::string& name) const {
    const std::size_t index = library_.FindInLibrary(name);
    if (index == 0)
        return std::nullopt;
    return library_.entry(index);
}

void Librarian::put(Slot slot, PatchRecord record) {
    recorder_.slotWillChange(slot, matrix_.at(slot));
    matrix_.set(slot, std::move(record));
}

bool Librarian::addToLibrary(const PatchRecord& record) {
    if (!library_.AddIfNew(record))
        return false;
    const std::size_t index = library_.size() - 1;
    recorder_.libraryChanged({index, std::nullopt, record});
    emit libraryEntryAdded(index, library_.nameAt(index));
    return true;
}

void Librarian::clearLibrary() {
    // The last entry first, so that played backwards the entries come back in order.
    for (std::size_t index = library_.size() - 1; index >= 1; --index)
        recorder_.libraryChanged({index, library_.entry(index), std::nullopt});
    library_.ClearLibrary();
}

LoadCounts Librarian::apply(const std::vector<PatchRecord>& records, LoadTarget target) {
    Operation operation(*this, [&] { return labels::Load(QString(), target); });
    LoadCounts counts;
    std::array<bool, Bank::kCount> touched{};
    const bool toMatrix = target != LoadTarget::Library;
    const bool toLibrary = target != LoadTarget::Matrix;
    for (const PatchRecord& record : records) {
        if (!dialect_.isValidRecord(record))
            continue;
        ++counts.records;
        if (toMatrix) {
            const Slot slot = dialect_.slotOf(record);
            put(slot, record);
            touched[static_cast<std::size_t>(slot.bank.byte())] = true;
            ++counts.placedInMatrix;
        }
        if (toLibrary && addToLibrary(record))
            ++counts.addedToLibrary;
    }
    for (int b = 0; b < Bank::kCount; ++b)
        if (touched[static_cast<std::size_t>(b)])
            emit bankChanged(Bank::fromByte(b));
    if (counts.addedToLibrary > 0)
        emit libraryCountChanged(library_.patchCount());
    return counts;
}

LoadCounts Librarian::apply(const PatchRecord& record, LoadTarget target) {
    Operation operation(*this, [&] { return labels::Load(QString(), target); });
    LoadCounts counts;
    if (!dialect_.isValidRecord(record))
        return counts;
    counts.records = 1;
    if (target != LoadTarget::Library) {
        const Slot slot = dialect_.slotOf(record);
        put(slot, record);
        counts.placedInMatrix = 1;
        emit slotChanged(slot);
    }
    if (target != LoadTarget::Matrix && addToLibrary(record)) {
        counts.addedToLibrary = 1;
        emit libraryCountChanged(library_.patchCount());
    }
    return counts;
}

void Librarian::moveOrSwap(Slot from, Slot to) {
    if (from == to)
        return;
    Operation operation(
        *this, [&] { return isEmpty(to) ? labels::Move(from, to) : labels::Swap(from, to); });
    PatchRecord displaced = matrix_.at(to);
    put(to, dialect_.retarget(matrix_.at(from), to));
    put(from, dialect_.retarget(displaced, from));
    emit slotChanged(to);
    emit slotChanged(from);
}

bool Librarian::copyFromLibrary(const std::string& name, Slot to) {
    const std::size_t index = library_.FindInLibrary(name);
    if (index == 0)
        return false;
    Operation operation(*this, [&] { return labels::CopyToSlot(name, to); });
    place(to, library_.entry(index));
    return true;
}

void Librarian::place(Slot slot, const PatchRecord& record) {
    Operation operation(*this,
                        [&] { return labels::CopyToSlot(dialect_.patchName(record), slot); });
    put(slot, dialect_.retarget(record, slot));
    emit slotChanged(slot);
}

void Librarian::deleteSlot(Slot slot) {
    Operation operation(*this, [&] { return labels::DeleteSlot(slot); });
    put(slot, {});
    emit slotChanged(slot);
}

std::optional<Slot> Librarian::storeReceived(std::string_view reply) {
    if (!dialect_.isValidRecord(reply))
        return std::nullopt;
    const Slot slot = dialect_.slotOf(reply);
    Operation operation(*this, [&] { return labels::Receive(slot); });
    put(slot, PatchRecord(reply));
    emit slotChanged(slot);
    return slot;
}

bool Librarian::deleteFromLibrary(const std::string& name) {
    const std::size_t found = library_.FindInLibrary(name);
    if (found == 0)
        return false;
    Operation operation(*this, [&] { return labels::DeleteFromLibrary(name); });
    recorder_.libraryChanged({found, library_.entry(found), PatchRecord()});
    const std::size_t index = library_.RemoveFromLibrary(name);
    emit libraryEntryRemoved(index, name);
    emit libraryCountChanged(library_.patchCount());
    return true;
}

void Librarian::copyBank(Bank from, Bank to) {
    Operation operation(*this, [&] { return labels::CopyBank(from, to); });
    for (int p = 0; p < Program::kCount; ++p) {
        const Program program = Program::fromByte(p);
        put({to, program}, dialect_.retarget(matrix_.at({from, program}), {to, program}));
    }
    emit bankChanged(to);
}

void Librarian::swapBanks(Bank a, Bank b) {
    Operation operation(*this, [&] { return labels::SwapBanks(a, b); });
    for (int p = 0; p < Program::kCount; ++p) {
        const Program program = Program::fromByte(p);
        PatchRecord fromB = matrix_.at({b, program});
        put({b, program}, dialect_.retarget(matrix_.at({a, program}), {b, program}));
        put({a, program}, dialect_.retarget(fromB, {a, program}));
    }
    emit bankChanged(b);
    if (a != b)
        emit bankChanged(a);
}

void Librarian::clear(const std::set<Bank>& banks, bool library) {
    Operation operation(*this, [&] { return labels::Clear(banks, library); });
    for (Bank bank : banks) {
        for (int p = 0; p < Program::kCount; ++p)
            put({bank, Program::fromByte(p)}, {});
        emit bankChanged(bank);
    }
    if (library) {
        clearLibrary();
        emit libraryCleared();
        emit libraryCountChanged(0);
    }
}

}  // namespace zanq
