#pragma once
// Fetching one program from the synth: its dump request exchanged for the reply over the MIDI
// link, and the reply judged on the window's thread. A reply that is a valid record is stored
// through the Librarian at the slot it names itself. A request whose reply is missing or no
// valid record goes once more before the program counts as not received: a USB MIDI link can
// drop one message now and then.

#include <QByteArray>
#include <QObject>
#include <optional>

#include "midi/MidiLink.h"
#include "model/Slot.h"

namespace zanq {

class Librarian;
class SynthDialect;

// How often a program is requested before it counts as not received.
inline constexpr int kProgramAttempts = 2;
// A run of program requests ends after this many programs in a row brought back nothing.
inline constexpr int kSilentPrograms = 2;

// Program dump requests whose replies must be valid records of the dialect.
RequestPolicy ProgramRequests(const SynthDialect& dialect, int attempts = kProgramAttempts,
                              int silentLimit = kSilentPrograms);

enum class ReplyOutcome {
    Stored,   // a valid record came and was stored where it says
    NoReply,  // not a single byte came
    Garbled,  // something came, but not a valid record: dropped
};

struct ExchangeResult {
    Slot requested;
    ReplyOutcome outcome;
    std::optional<Slot> storedAt;  // may differ from the slot requested
};

// Judges what came back for the request of slot requested, storing a valid record.
ExchangeResult StoreReply(Librarian& librarian, Slot requested, const QByteArray& reply);

class ProgramExchange : public QObject {
    Q_OBJECT
public:
    ProgramExchange(MidiLink& link, Librarian& librarian, QObject* parent = nullptr);

    // Asks the synth for the program at slot; finished() follows. False, and nothing done,
    // while the link is busy with other exchanges: it awaits one reply at a time.
    bool start(Slot slot);
    bool busy() const { return ticket_ != 0; }

signals:
    void finished(const zanq::ExchangeResult& result);

private:
    MidiLink& link_;
    Librarian& librarian_;
    Slot slot_{Bank::fromNumber(1), Program::fromNumber(1)};
    quint64 ticket_ = 0;
    std::optional<ExchangeResult> result_;
};

}  // namespace zanq
