#pragma once
// Moving and copying records between Matrix slots. Every record that lands in a slot has its
// bank and program bytes rewritten to that slot; no other byte changes.

#include "model/Matrix.h"

namespace zanq {

// Puts the record of slot (fromBank, fromSlot) into (toBank, toSlot) and whatever was there
// into the origin, parking it in the scratch bank meanwhile. An empty target makes this a move
// that leaves the origin empty. The scratch bank is empty again afterwards.
void SwapMatrixSlots(Matrix& matrix, int fromBank, int fromSlot, int toBank, int toSlot);

// Stores a copy of record at (bankNumber, slot), retargeted to that slot.
void CopyIntoSlot(Matrix& matrix, const PatchRecord& record, int bankNumber, int slot);

}  // namespace zanq
