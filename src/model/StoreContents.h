#pragma once
// Everything both stores hold, as plain values: what the session journal brings back and what
// tests compare byte for byte.

#include <vector>

#include "model/PatchRecord.h"
#include "model/Slot.h"

namespace zanq {

struct StoreContents {
    // Every Matrix slot, A-001 first, in Slot::index() order; empty records for empty slots.
    std::vector<PatchRecord> matrix =
        std::vector<PatchRecord>(static_cast<std::size_t>(Bank::kCount * Program::kCount));
    // Library entries from 1 on (entry 0 is always empty), emptied entries included.
    std::vector<PatchRecord> library;

    bool empty() const;
    bool operator==(const StoreContents&) const = default;
};

inline bool StoreContents::empty() const {
    for (const PatchRecord& record : matrix)
        if (!record.empty())
            return false;
    return library.empty();
}

}  // namespace zanq
