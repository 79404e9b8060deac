#pragma once
// Whole-bank runs over the MIDI link, each a state machine on the event loop that goes one
// message or exchange at a time and reports every slot's outcome as it goes. Each keeps a
// RunReport of what reached the synth or the Matrix and what did not; the windows show
// progress from slotStarted(), and the report once finished() has come. stop() ends a run
// after the message or exchange under way.

#include <QObject>
#include <map>
#include <optional>
#include <vector>

#include "midi/ProgramExchange.h"
#include "midi/RunReport.h"

namespace zanq {

class Librarian;
class MidiLink;
class SynthDialect;
enum class SendOutcome;

// How a series of requests ended after answered of asked came back.
RunEnd EndOf(int answered, int asked, bool stopRequested);

// What every run reports to the window or tool that shows it.
class BankRun : public QObject {
    Q_OBJECT
public:
    BankRun(RunKind kind, const SynthDialect& dialect, QObject* parent);
    virtual void stop() = 0;
    // Complete once finished() has come.
    const RunReport& report() const { return report_; }

signals:
    void slotStarted(zanq::Slot slot);
    void finished(zanq::RunEnd end);

protected:
    // Closes the report and says so.
    void finish(RunEnd end);

    RunReport report_;
    std::optional<Slot> last_;  // the last slot handed over: sent, or requested
};

// Sends patches one after another, and stops at the first message that does not go: the
// synth's port has gone, or sending failed. With read-back, then requests every patch it sent
// and compares the reply byte for byte, storing nothing.
class BankSendRun : public BankRun {
    Q_OBJECT
public:
    using Patch = std::pair<Slot, std::string>;  // where the record goes, and the record

    // Every patch of the given banks, bank by bank in slot order; empty slots are skipped.
    BankSendRun(MidiLink& link, const Librarian& librarian, std::vector<Bank> banks,
                QObject* parent = nullptr);
    // These records, in this order, each naming its slot in its own bytes.
    BankSendRun(MidiLink& link, const SynthDialect& dialect, std::vector<Patch> patches,
                QObject* parent = nullptr);
    void setReadBack(bool on);
    void start();
    void stop() override;

signals:
    // The read-back of slot is under way.
    void readingBack(zanq::Slot slot);

private:
    void next();
    void onSendFinished(quint64 ticket, SendOutcome outcome);
    void startReadBack();
    void onReadBack(quint64 ticket, int index, const QByteArray& reply);

    MidiLink& link_;
    const SynthDialect& dialect_;
    std::vector<Patch> patches_;
    std::size_t next_ = 0;  // the next patch to send
    quint64 ticket_ = 0;
    bool readBackWanted_ = false;
    bool readingBack_ = false;
    bool stopRequested_ = false;
    int answered_ = 0;  // read-back replies
};

// Requests every program of the given banks, bank by bank in slot order, storing each valid
// reply where it says. Each program is asked for up to kProgramAttempts times; the run ends
// after kSilentPrograms programs in a row brought back nothing at all.
class BankReceiveRun : public BankRun {
    Q_OBJECT
public:
    BankReceiveRun(MidiLink& link, Librarian& librarian, std::vector<Bank> banks,
                   QObject* parent = nullptr);
    // How often each program is requested (kProgramAttempts unless set before start()).
    void setAttempts(int attempts) { attempts_ = attempts; }
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
    int attempts_ = kProgramAttempts;
    int answered_ = 0;
    bool stopRequested_ = false;
};

}  // namespace zanq
