#pragma once
// A bank run from a command line: the event loop runs until the run has finished, a progress
// line on standard error follows it (rewritten in place, and only when that is a terminal),
// and a run that stands still is given up, so that a MIDI system that hangs (a stopped JACK
// server) cannot hold a script for ever. At the end the run's own report is printed.

#include <QHash>
#include <QString>
#include <QTimer>
#include <functional>

#include "model/Slot.h"

namespace zanq {
class BankRun;
}

namespace zanq::cli {

class RunWatch {
public:
    // How long a run may go without reaching another slot before it is given up.
    static constexpr int kStallMs = 10000;

    // total: the slots the run will go through in each of its phases; verb names the phase
    // each slot the run starts on is shown in ("Receiving", "Sending").
    RunWatch(BankRun& run, const QString& verb, int total);
    ~RunWatch();
    RunWatch(const RunWatch&) = delete;
    RunWatch& operator=(const RunWatch&) = delete;

    // The run has reached slot in the phase verb names ("Reading back").
    void reached(const QString& verb, Slot slot);
    // Calls start and, when it answers true, runs the event loop until the run has finished:
    // true. False, after saying why, when the run did not start or stood still for stallMs.
    bool await(const std::function<bool()>& start, int stallMs = kStallMs);
    // The run's report on standard output: its summary, then one line per stretch of slots
    // that did not get where they were going.
    void printReport();

private:
    BankRun& run_;
    int total_;
    bool terminal_;
    bool shown_ = false;
    QHash<QString, int> counts_;
    QTimer stall_;
};

}  // namespace zanq::cli
