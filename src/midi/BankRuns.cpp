#include "midi/BankRuns.h"

#include "midi/MidiLink.h"
#include "model/Librarian.h"
#include "model/SynthDialect.h"

namespace zanq {

namespace {

SlotResult ResultOf(const ExchangeResult& exchanged) {
    switch (exchanged.outcome) {
        case ReplyOutcome::NoReply:
            return SlotResult::NoReply;
        case ReplyOutcome::Garbled:
            return SlotResult::Garbled;
        case ReplyOutcome::Stored:
            break;
    }
    return exchanged.storedAt == exchanged.requested ? SlotResult::Done : SlotResult::Elsewhere;
}

}  // namespace

RunEnd EndOf(int answered, int asked, bool stopRequested) {
    // Stopped before the end, and not by the caller: the synth stopped answering.
    return stopRequested ? RunEnd::Stopped : answered < asked ? RunEnd::NoReply : RunEnd::Completed;
}

BankRun::BankRun(RunKind kind, const SynthDialect& dialect, QObject* parent)
    : QObject(parent), report_(kind, dialect.modelName()) {}

void BankRun::finish(RunEnd end) {
    report_.end(end, last_);
    emit finished(end);
}

BankReceiveRun::BankReceiveRun(MidiLink& link, Librarian& librarian, std::vector<Bank> banks,
                               QObject* parent)
    : BankRun(RunKind::Receive, librarian.dialect(), parent),
      link_(link),
      librarian_(librarian),
      banks_(std::move(banks)) {
    std::vector<Slot> planned;
    for (int i = 0; i < static_cast<int>(banks_.size()) * Program::kCount; ++i)
        planned.push_back(slotAt(i));
    report_.plan(std::move(planned));
    connect(&link_, &MidiLink::requestStarted, this, [this](quint64 ticket, int index) {
        if (ticket == ticket_)
            emit slotStarted(slotAt(index));
    });
    connect(&link_, &MidiLink::replyReceived, this,
            [this](quint64 ticket, int index, const QByteArray& reply) {
                if (ticket != ticket_)
                    return;
                const ExchangeResult result = StoreReply(librarian_, slotAt(index), reply);
                last_ = result.requested;
                report_.record(result.requested, ResultOf(result), result.storedAt);
                ++answered_;
                emit slotFinished(result);
            });
    connect(&link_, &MidiLink::requestsEnded, this, [this](quint64 ticket) {
        if (ticket != ticket_)
            return;
        ticket_ = 0;
        finish(EndOf(answered_, report_.asked(), stopRequested_));
    });
}

bool BankReceiveRun::start() {
    if (link_.requesting())
        return false;
    std::vector<std::string> requests;
    for (int i = 0; i < static_cast<int>(banks_.size()) * Program::kCount; ++i)
        requests.push_back(librarian_.dialect().programDumpRequest(slotAt(i)));
    // With no bank at all, the link ends the run at once.
    ticket_ = link_.request(std::move(requests), ProgramRequests(librarian_.dialect(), attempts_));
    return ticket_ != 0;
}

void BankReceiveRun::stop() {
    stopRequested_ = true;
    if (ticket_ != 0)
        link_.stopRequests();
}

Slot BankReceiveRun::slotAt(int index) const {
    return {banks_[static_cast<std::size_t>(index / Program::kCount)],
            Program::fromByte(index % Program::kCount)};
}

}  // namespace zanq
