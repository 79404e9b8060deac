#include "model/Matrix.h"

namespace zanq {

int Matrix::CountBankPatches(Bank bank) const {
    int count = 0;
    for (int p = 0; p < Program::kCount; ++p)
        count += isEmpty({bank, Program::fromByte(p)}) ? 0 : 1;
    return count;
}

int Matrix::CountMatrixPatches() const {
    int count = 0;
    for (const PatchRecord& cell : cells_)
        count += cell.empty() ? 0 : 1;
    return count;
}

}  // namespace zanq
