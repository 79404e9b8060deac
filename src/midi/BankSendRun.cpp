#include "midi/BankRuns.h"
#include "midi/MidiLink.h"
#include "model/Librarian.h"
#include "model/SynthDialect.h"

namespace zanq {

namespace {

std::vector<BankSendRun::Patch> FilledSlots(const Librarian& librarian,
                                            const std::vector<Bank>& banks) {
    std::vector<BankSendRun::Patch> patches;
    for (Bank bank : banks)
        for (int p = 0; p < Program::kCount; ++p)
            if (const Slot slot{bank, Program::fromByte(p)}; !librarian.isEmpty(slot))
                patches.emplace_back(slot, librarian.at(slot));
    return patches;
}

}  // namespace

BankSendRun::BankSendRun(MidiLink& link, const Librarian& librarian, std::vector<Bank> banks,
                         QObject* parent)
    : BankSendRun(link, librarian.dialect(), FilledSlots(librarian, banks), parent) {}

BankSendRun::BankSendRun(MidiLink& link, const SynthDialect& dialect, std::vector<Patch> patches,
                         QObject* parent)
    : BankRun(RunKind::Send, dialect, parent),
      link_(link),
      dialect_(dialect),
      patches_(std::move(patches)) {
    std::vector<Slot> planned;
    for (const auto& patch : patches_)
        planned.push_back(patch.first);
    report_.plan(std::move(planned));
    connect(&link_, &MidiLink::sendFinished, this, &BankSendRun::onSendFinished);
    connect(&link_, &MidiLink::requestStarted, this, [this](quint64 ticket, int index) {
        if (ticket == ticket_)
            emit readingBack(patches_[static_cast<std::size_t>(index)].first);
    });
    connect(&link_, &MidiLink::replyReceived, this, &BankSendRun::onReadBack);
    connect(&link_, &MidiLink::requestsEnded, this, [this](quint64 ticket) {
        if (ticket != ticket_)
            return;
        ticket_ = 0;
        finish(EndOf(answered_, static_cast<int>(patches_.size()), stopRequested_));
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
    if (ticket_ != 0 && readingBack_)
        link_.stopRequests();
}

void BankSendRun::next() {
    if (stopRequested_) {
        finish(RunEnd::Stopped);
        return;
    }
    if (next_ >= patches_.size()) {
        if (readBackWanted_ && !patches_.empty())
            startReadBack();
        else
            finish(RunEnd::Completed);
        return;
    }
    const Patch& patch = patches_[next_++];
    emit slotStarted(patch.first);
    ticket_ = link_.send(patch.second);
}

void BankSendRun::onSendFinished(quint64 ticket, SendOutcome outcome) {
    if (ticket != ticket_ || readingBack_)
        return;
    ticket_ = 0;
    const Slot slot = patches_[next_ - 1].first;
    if (outcome == SendOutcome::Sent) {
        last_ = slot;
        report_.record(slot, SlotResult::Done);
        next();
        return;
    }
    // The synth went away, or the MIDI system will not take a message: going on would only
    // hand the rest to a port that is not there.
    report_.record(slot, SlotResult::NotSent);
    finish(outcome == SendOutcome::PortUnavailable ? RunEnd::PortUnavailable : RunEnd::SendFailed);
}

void BankSendRun::startReadBack() {
    // Every patch was sent: a run stops at the first one that is not.
    std::vector<std::string> requests;
    for (const auto& patch : patches_)
        requests.push_back(dialect_.programDumpRequest(patch.first));
    readingBack_ = true;
    ticket_ = link_.request(std::move(requests), ProgramRequests(dialect_));
    if (ticket_ == 0) {  // the link is busy with another exchange: nothing can be read back
        for (const auto& patch : patches_)
            report_.record(patch.first, SlotResult::NotReadBack);
        finish(RunEnd::Completed);
    }
}

void BankSendRun::onReadBack(quint64 ticket, int index, const QByteArray& reply) {
    if (ticket != ticket_)
        return;
    const Patch& patch = patches_[static_cast<std::size_t>(index)];
    last_ = patch.first;
    ++answered_;
    const std::string_view bytes(reply.constData(), static_cast<std::size_t>(reply.size()));
    report_.record(patch.first, !dialect_.isValidRecord(bytes) ? SlotResult::NotReadBack
                                : bytes == patch.second        ? SlotResult::Matched
                                                               : SlotResult::Differs);
}

}  // namespace zanq
