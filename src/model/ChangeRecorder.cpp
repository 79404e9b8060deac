#include "model/ChangeRecorder.h"

namespace zanq {

void ChangeRecorder::Befores::note(Slot slot, const PatchRecord& before) {
    const auto index = static_cast<std::size_t>(slot.index());
    if (seen.test(index))
        return;
    seen.set(index);
    records.emplace_back(slot, before);
}

std::vector<SlotChange> ChangeRecorder::Befores::changes(const Matrix& now) const {
    std::vector<SlotChange> changed;
    for (const auto& [slot, before] : records)
        if (now.at(slot) != before)
            changed.push_back({slot, before, now.at(slot)});
    return changed;
}

void ChangeRecorder::openStep(const QString& label) {
    if (stepDepth_++ == 0)
        label_ = label;
}

ChangeSetPtr ChangeRecorder::closeStep(const Matrix& now) {
    if (stepDepth_ == 0 || --stepDepth_ > 0)
        return nullptr;
    auto step = std::make_shared<ChangeSet>();
    step->label = std::move(label_);
    step->matrix = stepSlots_.changes(now);
    step->library = std::move(stepLibrary_);
    stepSlots_ = {};
    stepLibrary_ = {};
    if (step->empty())
        return nullptr;
    return step;
}

ChangeSetPtr ChangeRecorder::operationEnds(const Matrix& now) {
    if (operationDepth_ == 0 || --operationDepth_ > 0)
        return nullptr;
    auto operation = std::make_shared<ChangeSet>();
    operation->matrix = operationSlots_.changes(now);
    operation->library = std::move(operationLibrary_);
    operationSlots_ = {};
    operationLibrary_ = {};
    if (operation->empty())
        return nullptr;
    stepLibrary_.insert(stepLibrary_.end(), operation->library.begin(), operation->library.end());
    return operation;
}

void ChangeRecorder::slotWillChange(Slot slot, const PatchRecord& before) {
    operationSlots_.note(slot, before);
    stepSlots_.note(slot, before);
}

void ChangeRecorder::libraryChanged(LibraryChange change) {
    operationLibrary_.push_back(std::move(change));
}

}  // namespace zanq
