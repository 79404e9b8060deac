#pragma once
// The simulated synth's behaviour: it answers program dump requests from its memory, with the
// faults it was told to play, and stores every valid program dump sent to it. It says what it
// does on stdout, one line each ("request A-001", "stored B-007", "dropped A-005").

#include <deque>
#include <optional>
#include <string>

#include "SimJack.h"
#include "SimMemory.h"
#include "SimOptions.h"

namespace sim {

void Say(const std::string& line);

class SimSynth {
public:
    SimSynth(const Options& options, SimMemory& memory) : o_(options), memory_(memory) {}

    // One complete SysEx message from the input port. Returns false when the synth vanishes.
    bool handle(const std::string& msg);
    // Hands replies that are due to the output; returns the time of the next one.
    std::optional<Clock::time_point> flush(SimJack& jack);

private:
    // The reply to request number n for a slot, as the faults make it; empty: none.
    std::string reply(long n, int bank, int program);

    struct Reply {
        Clock::time_point due;
        std::string bytes;
    };

    const Options& o_;
    SimMemory& memory_;
    long requests_ = 0;
    long dumps_ = 0;             // program dumps received
    long stored_ = 0;            // and stored
    std::deque<Reply> replies_;  // latencies are equal, so due times stay in order
};

}  // namespace sim
