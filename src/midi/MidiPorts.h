#pragma once
// The MIDI system as the link needs it: port lists, one message sent to a port named at the
// moment of sending, and one input port whose incoming messages go to a receiver. Every call
// is made from the link's own MIDI thread, one at a time; only the receiver runs elsewhere, on
// the MIDI system's own thread.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanq {

// The step that failed, as the user is told it.
enum class MidiStep { OutputOpen, OutputSend, InputOpen, InputClose };

struct MidiError {
    MidiStep step;
    std::string text;  // the MIDI system's own words
};

using MidiResult = std::optional<MidiError>;

class MidiPorts {
public:
    // One incoming MIDI message, or one piece of a long SysEx message.
    using Receiver = std::function<void(std::string_view message)>;

    virtual ~MidiPorts() = default;

    // Set once, before any other call.
    virtual void setReceiver(Receiver receiver) = 0;

    // Port names in the MIDI system's order. A system that cannot start lists no ports.
    virtual std::vector<std::string> outputNames() = 0;
    virtual std::vector<std::string> inputNames() = 0;

    // Sends one complete message to the output port of that name; an empty name means the
    // first output port listed.
    virtual MidiResult send(const std::string& port, std::string_view message) = 0;
    // From now on, messages arriving at the input port of that name (empty: the first) go to
    // the receiver.
    virtual MidiResult openInput(const std::string& port) = 0;
    virtual MidiResult closeInput() = 0;
};

}  // namespace zanq
