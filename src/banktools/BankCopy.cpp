#include "banktools/BankCopy.h"

namespace zanq {

void CopyBank(Matrix& matrix, int sourceBank, int destinationBank) {
    for (int slot = 1; slot <= kSlots; ++slot)
        matrix.set(destinationBank, slot,
                   SetBankProgram(matrix.at(sourceBank, slot), destinationBank - 1, slot - 1));
}

void SwapBanks(Matrix& matrix, int sourceBank, int destinationBank) {
    constexpr int scratch = Matrix::kScratchBank;
    for (int slot = 1; slot <= kSlots; ++slot) {
        matrix.set(scratch, slot, matrix.at(destinationBank, slot));
        matrix.set(destinationBank, slot,
                   SetBankProgram(matrix.at(sourceBank, slot), destinationBank - 1, slot - 1));
        matrix.set(sourceBank, slot,
                   SetBankProgram(matrix.at(scratch, slot), sourceBank - 1, slot - 1));
    }
}

}  // namespace zanq
