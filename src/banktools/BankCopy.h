#pragma once
// Whole-bank copy and swap inside the Matrix. Every record that lands in a bank is retargeted
// to that bank and its slot, so the Matrix keeps its placement rule (bank b, slot p holds
// bank byte b-1 and program byte p-1). Empty slots travel like records.

#include "model/Matrix.h"

namespace zanq {

// Bank d := bank s, slot by slot; the source stays as it was.
void CopyBank(Matrix& matrix, int sourceBank, int destinationBank);
// Exchanges banks s and d, slot by slot, holding each destination record in scratch bank 9.
void SwapBanks(Matrix& matrix, int sourceBank, int destinationBank);

}  // namespace zanq
