#pragma once
// Whole-bank runs over the MIDI link, each a state machine on the event loop that goes one
// message or exchange at a time and reports every slot's outcome as it goes. The windows show
// progress from slotStarted() and the end from finished(); a later layer may keep the per-slot
// outcomes for a report or a retry. stop() ends a run after the message or exchange under way.

#include <QObject>
#include <vector>

#include "midi/ProgramExchange.h"

namespace zanq {

class Librarian;
class MidiLink;
enum class SendOutcome;

enum class RunEnd {
    Completed,
    Stopped,          // stop() was called
    NoReply,          // receive: an exchange brought back nothing at all
    PortUnavailable,  // send: the output port did not open
};

// What every run reports to the window that shows it.
class BankRun : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void stop() = 0;

signals:
    void slotStarted(zanq::Slot slot);
    void finished(zanq::RunEnd end);
};

// Sends every patch of the given banks, bank by bank in slot order; empty slots are skipped.
class BankSendRun : public BankRun {
    Q_OBJECT
public:
    BankSendRun(MidiLink& link, const Librarian& librarian, std::vector<Bank> banks,
                QObject* parent = nullptr);
    void start();
    void stop() override { stopRequested_ = true; }

signals:
    void slotSent(zanq::Slot slot, zanq::SendOutcome outcome);

private:
    void next();
    void onSendFinished(quint64 ticket, SendOutcome outcome);

    MidiLink& link_;
    const Librarian& librarian_;
    std::vector<Bank> banks_;
    std::size_t bank_ = 0;
    int program_ = 0;  // zero-based, the next to look at
    Slot current_{Bank::fromNumber(1), Program::fromNumber(1)};
    quint64 ticket_ = 0;
    bool stopRequested_ = false;
};

// Requests every program of the given banks, bank by bank in slot order, storing each valid
// reply where it says. An exchange without any reply ends the run.
class BankReceiveRun : public BankRun {
    Q_OBJECT
public:
    BankReceiveRun(MidiLink& link, Librarian& librarian, std::vector<Bank> banks,
                   QObject* parent = nullptr);
    // False, and nothing done, while the link is busy with other exchanges.
    bool start();
    void stop() override;

signals:
    void slotFinished(const zanq::ExchangeResult& result);

private:
    Slot slotAt(int index) const;

    MidiLink& link_;
    Librarian& librarian_;
    std::vector<Bank> banks_;
    quint64 ticket_ = 0;
    bool nothingCame_ = false;
    bool stopRequested_ = false;
};

}  // namespace zanq
