#include "midi/BankRuns.h"

#include "midi/MidiLink.h"
#include "model/Librarian.h"

namespace zanq {

BankSendRun::BankSendRun(MidiLink& link, const Librarian& librarian, std::vector<Bank> banks,
                         QObject* parent)
    : BankRun(parent), link_(link), librarian_(librarian), banks_(std::move(banks)) {
    connect(&link_, &MidiLink::sendFinished, this, &BankSendRun::onSendFinished);
}

void BankSendRun::start() {
    next();
}

void BankSendRun::next() {
    for (; !stopRequested_ && bank_ < banks_.size(); ++bank_, program_ = 0) {
        for (; program_ < Program::kCount; ++program_) {
            const Slot slot{banks_[bank_], Program::fromByte(program_)};
            if (librarian_.isEmpty(slot))
                continue;
            ++program_;
            current_ = slot;
            emit slotStarted(slot);
            ticket_ = link_.send(librarian_.at(slot));
            return;
        }
    }
    emit finished(stopRequested_ ? RunEnd::Stopped : RunEnd::Completed);
}

void BankSendRun::onSendFinished(quint64 ticket, SendOutcome outcome) {
    if (ticket != ticket_)
        return;
    ticket_ = 0;
    emit slotSent(current_, outcome);
    // A port that did not open for this patch will not open for the next one either.
    if (outcome == SendOutcome::PortUnavailable)
        emit finished(RunEnd::PortUnavailable);
    else
        next();
}

BankReceiveRun::BankReceiveRun(MidiLink& link, Librarian& librarian, std::vector<Bank> banks,
                               QObject* parent)
    : BankRun(parent), link_(link), librarian_(librarian), banks_(std::move(banks)) {
    connect(&link_, &MidiLink::requestStarted, this, [this](quint64 ticket, int index) {
        if (ticket == ticket_)
            emit slotStarted(slotAt(index));
    });
    connect(&link_, &MidiLink::replyReceived, this,
            [this](quint64 ticket, int index, const QByteArray& reply) {
                if (ticket != ticket_)
                    return;
                const ExchangeResult result = StoreReply(librarian_, slotAt(index), reply);
                nothingCame_ = result.outcome == ReplyOutcome::NoReply;
                emit slotFinished(result);
            });
    connect(&link_, &MidiLink::requestsEnded, this, [this](quint64 ticket) {
        if (ticket != ticket_)
            return;
        ticket_ = 0;
        emit finished(nothingCame_     ? RunEnd::NoReply
                      : stopRequested_ ? RunEnd::Stopped
                                       : RunEnd::Completed);
    });
}

bool BankReceiveRun::start() {
    if (link_.requesting())
        return false;
    std::vector<std::string> requests;
    for (int i = 0; i < static_cast<int>(banks_.size()) * Program::kCount; ++i)
        requests.push_back(librarian_.dialect().programDumpRequest(slotAt(i)));
    // With no bank at all, the link ends the run at once.
    ticket_ = link_.request(std::move(requests));
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
