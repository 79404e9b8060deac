#pragma once
// What one bank run did, slot by slot, told the way the run window and the command line show
// it: a one-line summary ("Received 125 of 128. Not received: B-005, B-010, B-015") and one
// line for each stretch of slots that did not get where they were going ("B-005: no reply",
// "C-042 to C-128: not sent"). The run feeds it as it goes: the slots it is asked for, each
// slot's result, the read-back of a verified send, and how it ended.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/Slot.h"

namespace zanq {

enum class RunKind { Send, Receive };

enum class RunEnd {
    Completed,
    Stopped,          // stop() was called
    NoReply,          // receive: programs in a row brought back nothing at all
    PortUnavailable,  // send: the synth's output port is gone
    SendFailed,       // send: a message could not be sent
};

enum class SlotResult {
    Done,         // sent; or received, and the reply named the slot asked for
    NoReply,      // receive: not a byte came, on every attempt
    Garbled,      // receive: what came was no valid program dump
    Elsewhere,    // receive: a valid dump came, but for another slot, and was stored there
    NotSent,      // send: the message did not go
    Matched,      // read back after sending: the same bytes
    Differs,      // read back after sending: other bytes
    NotReadBack,  // read back after sending: no valid dump came
};

class RunReport {
public:
    // synth names the synth in the texts ("DeepMind").
    RunReport(RunKind kind, std::string synth);

    // The slots the run is asked for, in the order it goes; replaces any earlier plan.
    void plan(std::vector<Slot> asked);
    // The outcome of one planned slot; elsewhere is where a reply for it was stored.
    void record(Slot slot, SlotResult result, std::optional<Slot> elsewhere = {});
    // The run will read back what it sent (or did read back).
    void expectReadBack() { readBack_ = true; }
    // How the run ended; last is the last slot handed over (sent or requested), if any.
    void end(RunEnd end, std::optional<Slot> last);

    bool ended() const { return end_.has_value(); }
    int asked() const { return static_cast<int>(planned_.size()); }
    // Slots sent, or received where they belong.
    int done() const;
    // True when every slot asked for was done (and read back the same, when reading back).
    bool complete() const;

    QString summary() const;
    // The slots concerned, runs of neighbouring slots with the same outcome as one line.
    QStringList details() const;

private:
    struct Outcome {
        SlotResult result = SlotResult::Done;  // a read-back comes only after a send
        std::optional<Slot> elsewhere;
        std::optional<SlotResult> readBack;
    };
    QString tally() const;
    QString readBackTally() const;
    // The slots of a run of the same outcome, as "B-005" or "B-005 to B-009".
    static QString span(Slot first, Slot last);
    // Why a slot is listed; empty when it is not.
    QString problem(Slot slot) const;

    RunKind kind_;
    QString synth_;
    std::vector<Slot> planned_;
    std::map<Slot, Outcome> outcomes_;
    bool readBack_ = false;
    std::optional<RunEnd> end_;
    std::optional<Slot> last_;
};

}  // namespace zanq

Q_DECLARE_METATYPE(zanq::RunEnd)
