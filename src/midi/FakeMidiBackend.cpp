#include "midi/FakeMidiBackend.h"

#include "midi/SysexCapture.h"

namespace zanq {

void FakeMidiBackend::failStep(MidiStep step, MidiCode code, std::string text) {
    failing_[step] = code;
    texts_[code] = std::move(text);
}

void FakeMidiBackend::healStep(MidiStep step) {
    failing_.erase(step);
}

void FakeMidiBackend::receive(std::string_view bytes) {
    if (capture_)
        capture_->deliver(bytes);
}

MidiCode FakeMidiBackend::step(MidiStep s) {
    calls.push_back(s);
    const auto it = failing_.find(s);
    return it == failing_.end() ? 0 : it->second;
}

MidiCode FakeMidiBackend::openOutput(std::uint32_t port) {
    if (const MidiCode code = step(MidiStep::OutOpen))
        return code;
    outPort_ = port;
    outOpen_ = true;
    return 0;
}

MidiCode FakeMidiBackend::prepareOutputHeader() {
    return step(MidiStep::OutPrepareHeader);
}

MidiCode FakeMidiBackend::sendLongMessage(std::string_view message) {
    if (const MidiCode code = step(MidiStep::OutLongMessage))
        return code;
    sent.emplace_back(outPort_, std::string(message));
    return 0;
}

MidiCode FakeMidiBackend::unprepareOutputHeader() {
    return step(MidiStep::OutUnprepareHeader);
}

MidiCode FakeMidiBackend::closeOutput() {
    if (const MidiCode code = step(MidiStep::OutClose))
        return code;
    outOpen_ = false;
    return 0;
}

MidiCode FakeMidiBackend::openInput(std::uint32_t) {
    if (const MidiCode code = step(MidiStep::InOpen))
        return code;
    inOpen_ = true;
    return 0;
}

MidiCode FakeMidiBackend::prepareInputHeader() {
    return step(MidiStep::InPrepareHeader);
}

MidiCode FakeMidiBackend::addInputBuffer(SysexCapture& capture) {
    if (const MidiCode code = step(MidiStep::InAddBuffer))
        return code;
    capture_ = &capture;
    return 0;
}

MidiCode FakeMidiBackend::startInput() {
    if (const MidiCode code = step(MidiStep::InStart))
        return code;
    if (capture_)
        capture_->setAccepting(true);
    return 0;
}

MidiCode FakeMidiBackend::resetInput() {
    if (const MidiCode code = step(MidiStep::InReset))
        return code;
    if (capture_)
        capture_->setAccepting(false);
    capture_ = nullptr;
    return 0;
}

MidiCode FakeMidiBackend::unprepareInputHeader() {
    return step(MidiStep::InUnprepareHeader);
}

MidiCode FakeMidiBackend::closeInput() {
    if (const MidiCode code = step(MidiStep::InClose))
        return code;
    inOpen_ = false;
    return 0;
}

std::string FakeMidiBackend::errorText(MidiCode code) {
    const auto it = texts_.find(code);
    return it == texts_.end() ? "Unknown error." : it->second;
}

}  // namespace zanq
