#pragma once
// The librarian's mirror of the synth's program memory: banks A..H by programs 1..128, each
// slot a record or the empty record. A plain value: the Librarian holds the one that the
// program shows and is the only code that changes it; everyone else reads a const Matrix.

#include <array>

#include "model/PatchRecord.h"
#include "model/Slot.h"

namespace zanq {

class Matrix {
public:
    const PatchRecord& at(Slot slot) const {
        return cells_[static_cast<std::size_t>(slot.index())];
    }
    bool isEmpty(Slot slot) const { return at(slot).empty(); }
    void set(Slot slot, PatchRecord record) {
        cells_[static_cast<std::size_t>(slot.index())] = std::move(record);
    }

    int CountBankPatches(Bank bank) const;
    int CountMatrixPatches() const;

private:
    std::array<PatchRecord, Bank::kCount * Program::kCount> cells_{};
};

}  // namespace zanq
