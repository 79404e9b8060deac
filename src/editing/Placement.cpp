#include "editing/Placement.h"

namespace zanq {

void SwapMatrixSlots(Matrix& matrix, int fromBank, int fromSlot, int toBank, int toSlot) {
    // The displaced record waits in the scratch bank, on the target's row.
    matrix.set(Matrix::kScratchBank, toSlot, matrix.at(toBank, toSlot));
    matrix.set(toBank, toSlot,
               SetBankProgram(matrix.at(fromBank, fromSlot), toBank - 1, toSlot - 1));
    matrix.set(fromBank, fromSlot,
               SetBankProgram(matrix.at(Matrix::kScratchBank, toSlot), fromBank - 1, fromSlot - 1));
    matrix.set(Matrix::kScratchBank, toSlot, {});
}

void CopyIntoSlot(Matrix& matrix, const PatchRecord& record, int bankNumber, int slot) {
    matrix.set(bankNumber, slot, SetBankProgram(record, bankNumber - 1, slot - 1));
}

}  // namespace zanq
