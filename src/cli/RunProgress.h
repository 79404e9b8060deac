#pragma once
// What a bank run shows while it goes and says when it ends: a progress line on standard
// error, rewritten in place and only when that is a terminal, and the slots a run left
// undone, written as ranges.

#include <QString>
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

// "A-005, C-010..C-128": the slots in order, neighbours run together.
QString SlotRanges(std::vector<Slot> places);

}  // namespace zanq::cli
