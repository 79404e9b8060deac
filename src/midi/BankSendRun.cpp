#include "midi/BankRuns.h"
#include "midi/MidiLink.h"
#include "model/Librarian.h"

namespace zanq {

BankSendRun::BankSendRun(MidiLink& link, const Librarian& librarian, std::vector<Bank> banks,
                         QObject* parent)
    : BankRun(RunKind::Send, librarian, parent), link_(link), librarian_(librarian) {
    for (Bank bank : banks)
        for (int p = 0; p < Program::kCount; ++p)
            if (const Slot slot{bank, Program::fromByte(p)}; !librarian_.isEmpty(slot))
                slots_.push_back(slot);
    report_.plan(slots_);
    connect(&link_, &MidiLink::sendFinished, this, &BankSendRun::onSendFinished);
    connect(&link_, &MidiLink::requestStarted, this, [this](quint64 ticket, int index) {
        if (ticket == ticket_)
            emit readingBack(readBack_[static_cast<std::size_t>(index)]);
    });
    connect(&link_, &MidiLink::replyReceived, this, &BankSendRun::onReadBack);
    connect(&link_, &MidiLink::requestsEnded, this, [this](quint64 ticket) {
        if (ticket != ticket_)
            return;
        ticket_ = 0;
        finish(EndOf(answered_, static_cast<int>(readBack_.size()), stopRequested_));
    });
}

void BankSendRun::setReadBack(bool on) {
    readBackWanted_ = on;
    if (on)
        report_.expectReadBack();
}

void BankSendRun::start() {
    next();
}

void BankSendRun::stop() {
    stopRequested_ = true;
    if (ticket_ != 0 && !readBack_.empty())
        link_.stopRequests();
}

void BankSendRun::next() {
    if (stopRequested_) {
        finish(RunEnd::Stopped);
        return;
    }
    if (next_ >= slots_.size()) {
        if (readBackWanted_ && !sent_.empty())
            startReadBack();
        else
            finish(RunEnd::Completed);
        return;
    }
    const Slot slot = slots_[next_++];
    emit slotStarted(slot);
    std::string record = librarian_.at(slot);
    if (readBackWanted_)
        sent_[slot] = record;
    ticket_ = link_.send(std::move(record));
}

void BankSendRun::onSendFinished(quint64 ticket, SendOutcome outcome) {
    if (ticket != ticket_ || !readBack_.empty())
        return;
    ticket_ = 0;
    const Slot slot = slots_[next_ - 1];
    emit slotSent(slot, outcome);
    if (outcome == SendOutcome::Sent) {
        last_ = slot;
        report_.record(slot, SlotResult::Done);
        next();
        return;
    }
    // The synth went away, or the MIDI system will not take a message: going on would only
    // hand the rest to a port that is not there.
    sent_.erase(slot);
    report_.record(slot, SlotResult::NotSent);
    finish(outcome == SendOutcome::PortUnavailable ? RunEnd::PortUnavailable : RunEnd::SendFailed);
}

void BankSendRun::startReadBack() {
    std::vector<std::string> requests;
    for (Slot slot : slots_) {
        if (!sent_.contains(slot))
            continue;
        readBack_.push_back(slot);
        requests.push_back(librarian_.dialect().programDumpRequest(slot));
    }
    ticket_ = link_.request(std::move(requests), ProgramRequests(librarian_.dialect()));
    if (ticket_ == 0) {  // the link is busy with another exchange: nothing can be read back
        for (Slot slot : readBack_)
            report_.record(slot, SlotResult::NotReadBack);
        finish(RunEnd::Completed);
    }
}

void BankSendRun::onReadBack(quint64 ticket, int index, const QByteArray& reply) {
    if (ticket != ticket_)
        return;
    const Slot slot = readBack_[static_cast<std::size_t>(index)];
    last_ = slot;
    ++answered_;
    const std::string_view bytes(reply.constData(), static_cast<std::size_t>(reply.size()));
    report_.record(slot, !librarian_.dialect().isValidRecord(bytes) ? SlotResult::NotReadBack
                         : bytes == sent_[slot]                     ? SlotResult::Matched
                                                                    : SlotResult::Differs);
}

}  // namespace zanq
