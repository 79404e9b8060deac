#pragma once
// The MIDI link as the commands use it: the same link, ports and exchanges as the window's,
// driven by waiting on the event loop for the link's signals. Failures the link reports go to
// standard error with the name of the step, as the window shows them in a message box.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "midi/MidiLink.h"

namespace zanq {
class SynthDialect;
}

namespace zanq::cli {

struct PortLists {
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
};

class CliMidi {
public:
    // How long a port listing may take before the MIDI system is taken to hang.
    static constexpr int kListingWaitMs = 10000;

    explicit CliMidi(const SynthDialect& dialect);

    MidiLink& link() { return link_; }

    // The ports as the MIDI system lists them now; nothing when it did not answer in time.
    std::optional<PortLists> list();

    // The port the program would use among names: the first whose name holds filter (any
    // letter case) or, without a filter, the one detection would take for the synth.
    std::optional<std::string> choose(const std::vector<std::string>& names,
                                      const QString& filter) const;

    // Points the link at the synth's ports, the output always and the input when asked.
    // Answers false after saying why (no such port, or a MIDI system that does not answer).
    bool aim(const QString& filter, bool input);

private:
    const SynthDialect& dialect_;
    MidiLink link_;
};

}  // namespace zanq::cli
