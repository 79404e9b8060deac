#pragma once
// The port operations the MIDI layer needs from the platform, one call per step so that every
// step can fail on its own and be reported under its own name. Each step returns 0 on success,
// else a code that errorText() turns into the platform's own words.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanq {

class SysexCapture;

using MidiCode = std::uint32_t;

class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    // Port names in port-number order. Listing never reports an error: a port system that
    // cannot start simply contributes no ports.
    virtual std::vector<std::string> outputPortNames() = 0;
    virtual std::vector<std::string> inputPortNames() = 0;

    virtual MidiCode openOutput(std::uint32_t port) = 0;
    virtual MidiCode prepareOutputHeader() = 0;
    // One complete SysEx message, handed over as it stands.
    virtual MidiCode sendLongMessage(std::string_view message) = 0;
    virtual MidiCode unprepareOutputHeader() = 0;
    virtual MidiCode closeOutput() = 0;

    virtual MidiCode openInput(std::uint32_t port) = 0;
    virtual MidiCode prepareInputHeader() = 0;
    // Lends the buffer: from startInput() on, incoming SysEx bytes go into it.
    virtual MidiCode addInputBuffer(SysexCapture& capture) = 0;
    virtual MidiCode startInput() = 0;
    // Stops input and takes the buffer back: nothing more is written into it.
    virtual MidiCode resetInput() = 0;
    virtual MidiCode unprepareInputHeader() = 0;
    virtual MidiCode closeInput() = 0;

    // Readable text for a code returned by any step above.
    virtual std::string errorText(MidiCode code) = 0;
};

}  // namespace zanq
