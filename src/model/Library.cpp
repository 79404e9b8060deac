#include "model/Library.h"

#include <algorithm>

namespace zanq {

Library::Library(const SynthDialect& dialect) : dialect_(&dialect) {
    entries_.emplace_back();
}

bool Library::IsNewInLibrary(const std::string& name) const {
    return !name.empty() && byName_.find(name) == byName_.end();
}

std::size_t Library::FindInLibrary(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? 0 : it->second.front();
}

void Library::AddToLibrary(const PatchRecord& record) {
    const std::size_t index = entries_.size();
    entries_.push_back(record);
    indexEntry(dialect_->patchName(record), index);
    if (!record.empty())
        ++patchCount_;
}

bool Library::AddIfNew(const PatchRecord& record) {
    if (!IsNewInLibrary(dialect_->patchName(record)))
        return false;
    AddToLibrary(record);
    return true;
}

std::size_t Library::RemoveFromLibrary(const std::string& name) {
    const std::size_t index = FindInLibrary(name);
    if (index == 0)
        return 0;
    unindexEntry(name, index);
    if (!entries_[index].empty())
        --patchCount_;
    entries_[index].clear();
    indexEntry(std::string(), index);
    return index;
}

void Library::replaceEntry(std::size_t index, const PatchRecord& record) {
    if (index == 0 || index >= entries_.size())
        return;
    PatchRecord& entry = entries_[index];
    unindexEntry(dialect_->patchName(entry), index);
    patchCount_ -= entry.empty() ? 0 : 1;
    entry = record;
    patchCount_ += entry.empty() ? 0 : 1;
    indexEntry(dialect_->patchName(entry), index);
}

void Library::removeLastEntry() {
    if (entries_.size() <= 1)
        return;
    const std::size_t last = entries_.size() - 1;
    unindexEntry(dialect_->patchName(entries_[last]), last);
    patchCount_ -= entries_[last].empty() ? 0 : 1;
    entries_.pop_back();
}

void Library::ClearLibrary() {
    entries_.assign(1, PatchRecord());
    byName_.clear();
    patchCount_ = 0;
}

void Library::indexEntry(const std::string& name, std::size_t index) {
    auto& indices = byName_[name];
    indices.insert(std::upper_bound(indices.begin(), indices.end(), index), index);
}

void Library::unindexEntry(const std::string& name, std::size_t index) {
    auto it = byName_.find(name);
    if (it == byName_.end())
        return;
    auto& indices = it->second;
    indices.erase(std::remove(indices.begin(), indices.end(), index), indices.end());
    if (indices.empty())
        byName_.erase(it);
}

}  // namespace zanq
