#include "model/ChangeRecorder.h"

namespace zanq {

void ChangeRecorder::Pending::noteSlot(Slot slot, const PatchRecord& before) {
    const auto index = static_cast<std::size_t>(slot.index());
    if (seen.test(index))
        return;
    seen.set(index);
    befores.emplace_back(slot, before);
}

ChangeSetPtr ChangeRecorder::Pending::take(const Matrix& now, QString label) {
    auto change = std::make_shared<ChangeSet>();
    change->label = std::move(label);
    for (const auto& [slot, before] : befores)
        if (now.at(slot) != before)
            change->matrix.push_back({slot, before, now.at(slot)});
    change->library = std::move(library);
    *this = {};
    if (change->empty())
        return nullptr;
    return change;
}

void ChangeRecorder::openStep(const QString& label) {
    if (stepDepth_++ == 0)
        label_ = label;
}

ChangeSetPtr ChangeRecorder::closeStep(const Matrix& now) {
    if (stepDepth_ == 0 || --stepDepth_ > 0)
        return nullptr;
    return step_.take(now, std::move(label_));
}

ChangeSetPtr ChangeRecorder::operationEnds(const Matrix& now) {
    if (operationDepth_ == 0 || --operationDepth_ > 0)
        return nullptr;
    ChangeSetPtr operation = operation_.take(now);
    if (operation)
        step_.library.insert(step_.library.end(), operation->library.begin(),
                             operation->library.end());
    return operation;
}

void ChangeRecorder::slotWillChange(Slot slot, const PatchRecord& before) {
    operation_.noteSlot(slot, before);
    step_.noteSlot(slot, before);
}

void ChangeRecorder::libraryChanged(LibraryChange change) {
    operation_.library.push_back(std::move(change));
}

}  // namespace zanq
