#include "model/Matrix.h"

#include <cassert>

namespace zanq {

std::size_t Matrix::indexOf(int bankNumber, int slot) {
    assert(bankNumber >= 1 && bankNumber <= kScratchBank && slot >= 1 && slot <= kSlots);
    return static_cast<std::size_t>((bankNumber - 1) * kSlots + (slot - 1));
}

const PatchRecord& Matrix::at(int bankNumber, int slot) const {
    return cells_[indexOf(bankNumber, slot)];
}

void Matrix::set(int bankNumber, int slot, PatchRecord record) {
    cells_[indexOf(bankNumber, slot)] = std::move(record);
    if (observer_ && bankNumber != kScratchBank)
        observer_(bankNumber, slot);
}

void Matrix::PutInMatrix(const PatchRecord& record) {
    const int bank = GetBankByte(record);
    const int program = GetProgramByte(record);
    set(bank + 1, program + 1, SetBankProgram(record, bank, program));
}

void Matrix::ClearBank(int bankNumber) {
    for (int slot = 1; slot <= kSlots; ++slot)
        set(bankNumber, slot, {});
}

int Matrix::CountBankPatches(int bankNumber) const {
    int count = 0;
    for (int slot = 1; slot <= kSlots; ++slot)
        count += isEmpty(bankNumber, slot) ? 0 : 1;
    return count;
}

int Matrix::CountMatrixPatches() const {
    int count = 0;
    for (int bank = 1; bank <= kBanks; ++bank)
        count += CountBankPatches(bank);
    return count;
}

}  // namespace zanq
