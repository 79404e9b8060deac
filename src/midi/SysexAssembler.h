#pragma once
// Gathers the SysEx bytes that arrive during one exchange into the reply: from the first F0 up
// to the first F7, in as many pieces as the MIDI system delivers them. Messages of other kinds
// that come in between (a note, a clock tick) are no part of it. Like the synth's own input
// buffer, it holds at most 300 bytes: a longer reply is cut there and counts as complete.

#include <cstddef>
#include <string>
#include <string_view>

namespace zanq {

class SysexAssembler {
public:
    static constexpr std::size_t kLimit = 300;

    // Forgets everything, ready for the next exchange.
    void reset();
    // One incoming message or piece of one. True when it completed the reply; once complete,
    // nothing more is added.
    bool add(std::string_view piece);

    bool complete() const { return complete_; }
    // The reply so far (all of it once complete).
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
    bool inSysex_ = false;
    bool complete_ = false;
};

}  // namespace zanq
