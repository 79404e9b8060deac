#pragma once
// The Patch Library: loose patches in the order they were added. Entry 0 is always the empty
// record; removing a patch empties its entry and keeps the index, so indices stay stable until
// the whole library is cleared. Names are unique among non-empty entries.
//
// A name index kept in step with every change answers IsNewInLibrary and FindInLibrary in
// constant time on average, so ingesting tens of thousands of patches stays linear.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/PatchRecord.h"
#include "model/SynthDialect.h"

namespace zanq {

class Library {
public:
    // Names are read from records by the dialect, which must outlive the library.
    explicit Library(const SynthDialect& dialect);

    // False when any entry, entry 0 and emptied entries included, has exactly this name;
    // so the empty name is never new.
    bool IsNewInLibrary(const std::string& name) const;
    // Lowest index from 1 up whose entry has exactly this name; 0 when there is none.
    std::size_t FindInLibrary(const std::string& name) const;
    // Appends the record as a new last entry. The caller has checked IsNewInLibrary.
    void AddToLibrary(const PatchRecord& record);
    // Empties the entry found by name and returns its index; 0 (and no change) when there is
    // none.
    std::size_t RemoveFromLibrary(const std::string& name);
    // Back to the single empty entry 0.
    void ClearLibrary();

    // Adds the record unless its name is empty or already present; true when added.
    bool AddIfNew(const PatchRecord& record);

    // Undo and restore put entries back exactly as they were, duplicates rule aside: rewrite
    // one entry (index 1 up), or drop the last one.
    void replaceEntry(std::size_t index, const PatchRecord& record);
    void removeLastEntry();

    std::size_t size() const { return entries_.size(); }  // entry 0 included
    const PatchRecord& entry(std::size_t index) const { return entries_.at(index); }
    std::size_t patchCount() const { return patchCount_; }  // non-empty entries
    // The name of entry index, as the duplicate rule compares it.
    std::string nameAt(std::size_t index) const { return dialect_->patchName(entry(index)); }

private:
    void indexEntry(const std::string& name, std::size_t index);
    void unindexEntry(const std::string& name, std::size_t index);

    const SynthDialect* dialect_;
    std::vector<PatchRecord> entries_;
    // Name -> ascending indices (>= 1) of the entries with that name. Emptied entries live
    // under the empty name, which keeps FindInLibrary("") faithful to a linear walk.
    std::unordered_map<std::string, std::vector<std::size_t>> byName_;
    std::size_t patchCount_ = 0;
};

}  // namespace zanq
