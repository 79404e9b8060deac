#pragma once
// An in-process stand-in for the MIDI ports: port lists set by hand, every message sent kept,
// incoming bytes injected by hand, and any step made to fail with a chosen code and text.

#include <map>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"

namespace zanq {

enum class MidiStep {
    OutOpen,
    OutPrepareHeader,
    OutLongMessage,
    OutUnprepareHeader,
    OutClose,
    InOpen,
    InPrepareHeader,
    InAddBuffer,
    InStart,
    InReset,
    InUnprepareHeader,
    InClose,
};

class FakeMidiBackend : public MidiBackend {
public:
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    // Messages handed over, with the output port number they went to.
    std::vector<std::pair<std::uint32_t, std::string>> sent;
    // Every step called, in order.
    std::vector<MidiStep> calls;

    // Makes a step fail from now on with this code; the code reads as text.
    void failStep(MidiStep step, MidiCode code, std::string text);
    void healStep(MidiStep step);
    // Incoming bytes as the port's thread would hand them over.
    void receive(std::string_view bytes);

    bool outputOpen() const { return outOpen_; }
    bool inputOpen() const { return inOpen_; }

    std::vector<std::string> outputPortNames() override { return outputs; }
    std::vector<std::string> inputPortNames() override { return inputs; }
    MidiCode openOutput(std::uint32_t port) override;
    MidiCode prepareOutputHeader() override;
    MidiCode sendLongMessage(std::string_view message) override;
    MidiCode unprepareOutputHeader() override;
    MidiCode closeOutput() override;
    MidiCode openInput(std::uint32_t port) override;
    MidiCode prepareInputHeader() override;
    MidiCode addInputBuffer(SysexCapture& capture) override;
    MidiCode startInput() override;
    MidiCode resetInput() override;
    MidiCode unprepareInputHeader() override;
    MidiCode closeInput() override;
    std::string errorText(MidiCode code) override;

private:
    MidiCode step(MidiStep s);

    std::map<MidiStep, MidiCode> failing_;
    std::map<MidiCode, std::string> texts_;
    std::uint32_t outPort_ = 0;
    bool outOpen_ = false;
    bool inOpen_ = false;
    SysexCapture* capture_ = nullptr;
};

}  // namespace zanq
