#pragma once
// The two stores and the small pieces of selection state that live beside them for the whole
// run of the program. Owned by main() and handed to every window that needs them.

#include "model/Library.h"
#include "model/Matrix.h"

namespace zanq {

struct PatchStores {
    Matrix matrix;
    Library library;
    PatchRecord ExportPatch;  // the record handed to the Export Patch window
    int DragCol = 0;          // grid column (bank 1..8) where the last grid press landed
    int DragRow = 0;          // grid row (slot 1..128) of that press
};

}  // namespace zanq
