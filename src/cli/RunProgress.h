#pragma once
// A bank run from a command line: waiting for it on the event loop, the progress line on
// standard error (rewritten in place, and only when that is a terminal), and the slots a run
// left undone, written as ranges.

#include <QString>
#include <functional>
#include <vector>

#include "model/Slot.h"

namespace zanq {
class BankRun;
}

namespace zanq::cli {

class RunProgress {
public:
    // verb: "Receiving" or "Sending"; total: the slots the run will go through.
    RunProgress(BankRun& run, const QString& verb, int total);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

private:
    bool shown_ = false;
};

// How long a run may go without reaching another slot before it is given up.
inline constexpr int kRunStallMs = 10000;

// Calls start and, when it answers true, runs the event loop until run has finished: true.
// False, after saying so, when the run did not start or stood still for stallMs: a MIDI system
// that hangs (a stopped JACK server) must not hold a script for ever.
bool AwaitRun(BankRun& run, const std::function<bool()>& start, int stallMs = kRunStallMs);

// "A-005, C-010..C-128": the slots in order, neighbours run together.
QString SlotRanges(std::vector<Slot> places);

}  // namespace zanq::cli
