#include "midi/ProgramExchange.h"

#include "midi/MidiLink.h"
#include "model/Librarian.h"
#include "model/SynthDialect.h"

namespace zanq {

RequestPolicy ProgramRequests(const SynthDialect& dialect, int attempts, int silentLimit) {
    return {attempts, silentLimit,
            [&dialect](std::string_view reply) { return dialect.isValidRecord(reply); }};
}

ExchangeResult StoreReply(Librarian& librarian, Slot requested, const QByteArray& reply) {
    ExchangeResult result{requested, ReplyOutcome::NoReply, std::nullopt};
    if (!reply.isEmpty()) {
        result.storedAt = librarian.storeReceived(std::string_view(reply.data(), reply.size()));
        result.outcome = result.storedAt ? ReplyOutcome::Stored : ReplyOutcome::Garbled;
    }
    return result;
}

ProgramExchange::ProgramExchange(MidiLink& link, Librarian& librarian, QObject* parent)
    : QObject(parent), link_(link), librarian_(librarian) {
    connect(&link_, &MidiLink::replyReceived, this,
            [this](quint64 ticket, int, const QByteArray& reply) {
                if (ticket == ticket_)
                    result_ = StoreReply(librarian_, slot_, reply);
            });
    // Told once the link is free for the next exchange.
    connect(&link_, &MidiLink::requestsEnded, this, [this](quint64 ticket) {
        if (ticket != ticket_)
            return;
        ticket_ = 0;
        emit finished(result_.value_or(ExchangeResult{slot_, ReplyOutcome::NoReply, {}}));
        result_.reset();
    });
}

bool ProgramExchange::start(Slot slot) {
    if (busy() || link_.requesting())
        return false;
    slot_ = slot;
    ticket_ = link_.request({librarian_.dialect().programDumpRequest(slot)},
                            ProgramRequests(librarian_.dialect()));
    return ticket_ != 0;
}

}  // namespace zanq
