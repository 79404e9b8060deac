#pragma once
// The librarian's mirror of the synth's program memory: banks 1..8 (A..H) by slots 1..128,
// plus bank 9, scratch storage for swaps that is never shown, counted, saved or sent.

#include <array>
#include <functional>

#include "model/PatchRecord.h"

namespace zanq {

class Matrix {
public:
    static constexpr int kScratchBank = 9;
    // Called after every change of a cell in banks 1..8 so views can repaint it.
    using CellObserver = std::function<void(int bankNumber, int slot)>;

    const PatchRecord& at(int bankNumber, int slot) const;
    bool isEmpty(int bankNumber, int slot) const { return at(bankNumber, slot).empty(); }
    void set(int bankNumber, int slot, PatchRecord record);

    // Stores a record that passed IsValidRecord at the slot its own bytes name.
    void PutInMatrix(const PatchRecord& record);
    void ClearBank(int bankNumber);
    int CountBankPatches(int bankNumber) const;
    int CountMatrixPatches() const;

    void setObserver(CellObserver observer) { observer_ = std::move(observer); }

private:
    static std::size_t indexOf(int bankNumber, int slot);
    std::array<PatchRecord, 9 * kSlots> cells_{};
    CellObserver observer_;
};

}  // namespace zanq
