// Exchanges and bank runs over fake ports, with a synth that answers from a made-up memory: an
// exchange gives up a while after a request that brings nothing and asks once more, judges
// what came and stores valid replies where they say; bank runs go in order, get over one
// missed reply, stop when asked, when the synth goes quiet or a message does not go, and
// report every slot.

#include <QtTest>
#include <set>

#include "midi/BankRuns.h"
#include "midi/MidiLink.h"
#include "midi/ProgramExchange.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "support/FakeMidiPorts.h"
#include "support/Records.h"

using namespace zanq;
using test::At;

namespace {

std::string Stored(Slot slot) {
    return test::MakeRecord("Got " + slot.text(), slot.bank.byte(), slot.program.byte(),
                            slot.index());
}

struct Rig {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::FakeMidiPorts* ports = new test::FakeMidiPorts;
    MidiLink link{std::unique_ptr<MidiPorts>(ports)};
    ProgramExchange exchange{link, librarian};
    // The pieces the synth answers a request for a slot with; none: silence.
    std::function<std::vector<std::string>(Slot)> answer = [](Slot s) {
        return std::vector<std::string>{Stored(s)};
    };

    Rig() {
        ports->setPorts({"DM out"}, {"DM in"});
        link.setOutputPort("DM out");
        ports->onSend = [this](std::string_view m) {
            if (m.size() == 10 && static_cast<unsigned char>(m[0]) == 0xF0)
                for (const auto& piece : answer({Bank::fromByte(m[7]), Program::fromByte(m[8])}))
                    ports->deliver(piece);
        };
    }
    // The slots requested so far, as "A-001".
    QStringList requested() const {
        QStringList names;
        for (const auto& sent : ports->sent())
            if (sent.bytes.size() == 10)
                names << QString::fromStdString(
                    Slot{Bank::fromByte(sent.bytes[7]), Program::fromByte(sent.bytes[8])}.text());
        return names;
    }
    ExchangeResult exchange1(Slot slot) {
        QSignalSpy done(&exchange, &ProgramExchange::finished);
        if (!exchange.start(slot) || !done.wait(2000))
            return {slot, ReplyOutcome::NoReply, slot};  // no valid result: fails any check
        return done.first().at(0).value<ExchangeResult>();
    }
    // Runs a bank run to its end; its end, or Stopped when it never ended.
    template <typename Run>
    RunEnd runToEnd(Run& run) {
        QSignalSpy finished(&run, &BankRun::finished);
        run.start();
        return finished.wait(20000) ? finished[0][0].value<RunEnd>() : RunEnd::Stopped;
    }
};

}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void aSilentSynthIsAskedTwiceAndGivenUpAfterTheWaits() {
        Rig rig;
        rig.answer = [](Slot) { return std::vector<std::string>{}; };
        QSignalSpy done(&rig.exchange, &ProgramExchange::finished);
        QElapsedTimer clock;
        clock.start();
        rig.exchange.start(At("A-1"));
        QVERIFY(done.wait(2000));
        QVERIFY(clock.elapsed() >= 2 * MidiLink::kReplyWaitMs);
        QCOMPARE(done.first().at(0).value<ExchangeResult>().outcome, ReplyOutcome::NoReply);
        QCOMPARE(rig.requested(), QStringList({"A-001", "A-001"}));
        QVERIFY(!rig.link.requesting());
    }

    void whatComesBackIsJudged() {
        Rig rig;
        QSignalSpy changes(&rig.librarian, &Librarian::slotChanged);
        const auto answerWith = [&](std::vector<std::string> pieces) {
            rig.answer = [pieces](Slot) { return pieces; };
        };
        std::string bankOutOfRange = Stored(At("C-1"));
        bankOutOfRange[8] = 8;
        for (const auto& garbled :
             {Stored(At("C-1")).erase(100, 1), bankOutOfRange, Stored(At("C-1")).substr(0, 100),
              Stored(At("C-1")) + Stored(At("C-2"))}) {
            answerWith({garbled});
            QCOMPARE(rig.exchange1(At("C-1")).outcome, ReplyOutcome::Garbled);
        }
        QVERIFY(changes.isEmpty());
        QCOMPARE(rig.requested().size(), 8);  // each garbled reply asked for once more

        // A reply that names another slot is stored there; the slot asked for stays as it was.
        answerWith({Stored(At("D-50"))});
        const auto result = rig.exchange1(At("C-1"));
        QCOMPARE(result.outcome, ReplyOutcome::Stored);
        QVERIFY(result.storedAt == At("D-50"));
        QVERIFY(rig.librarian.isEmpty(At("C-1")));
        QVERIFY(rig.librarian.at(At("D-50")) == Stored(At("D-50")));

        // The input port that does not open: nothing can come back, and asking again would
        // only fail again.
        QSignalSpy failures(&rig.link, &MidiLink::failed);
        rig.ports->failStep(MidiStep::InputOpen, "busy");
        QCOMPARE(rig.exchange1(At("C-2")).outcome, ReplyOutcome::NoReply);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0][0].toString(), QStringLiteral("MIDI IN OPEN"));
        QCOMPARE(rig.requested().last(), QStringLiteral("C-002"));
        QCOMPARE(rig.requested().size(), 10);
    }

    void bankReceiveGoesInOrderAndStopsWhenAsked() {
        Rig rig;
        rig.answer = [](Slot s) {  // one reply broken every time, the rest whole
            return std::vector<std::string>{s == At("B-7") ? "\xF0\xF7" : Stored(s)};
        };
        BankReceiveRun run(rig.link, rig.librarian, {Bank::fromNumber(2), Bank::fromNumber(4)});
        QSignalSpy started(&run, &BankReceiveRun::slotStarted);
        QSignalSpy results(&run, &BankReceiveRun::slotFinished);
        QCOMPARE(rig.runToEnd(run), RunEnd::Completed);
        QCOMPARE(results.size(), 256);
        QCOMPARE(rig.requested().first(), QStringLiteral("B-001"));
        QCOMPARE(rig.requested().mid(6, 3), QStringList({"B-007", "B-007", "B-008"}));
        QCOMPARE(rig.requested()[129], QStringLiteral("D-001"));
        QCOMPARE(rig.requested().last(), QStringLiteral("D-128"));
        QVERIFY(started.last().at(0).value<Slot>() == At("D-128"));
        QCOMPARE(results[6].at(0).value<ExchangeResult>().outcome, ReplyOutcome::Garbled);
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 255);
        QCOMPARE(run.report().summary(),
                 QStringLiteral("Received 255 of 256. Not received: B-007"));

        // Stopped while the first request goes out: the run ends after that exchange.
        BankReceiveRun stopped(rig.link, rig.librarian, {Bank::fromNumber(5)});
        rig.answer = [&stopped](Slot s) {
            QMetaObject::invokeMethod(&stopped, &BankReceiveRun::stop,
                                      Qt::BlockingQueuedConnection);
            return std::vector<std::string>{Stored(s)};
        };
        QCOMPARE(rig.runToEnd(stopped), RunEnd::Stopped);
        QCOMPARE(rig.requested().last(), QStringLiteral("E-001"));
        QVERIFY(!rig.librarian.isEmpty(At("E-1")));
        QVERIFY(stopped.report().summary().startsWith(
            QStringLiteral("Stopped after E-001 at the user's request. Received 1 of 128")));
    }

    void aMissedReplyIsAskedAgainAndTwoInARowEndTheRun() {
        Rig rig;
        std::set<Slot> answered;
        rig.answer = [&answered](Slot s) {  // each program's first request goes unanswered
            if (s.program.number() % 32 != 0 || answered.count(s))
                return std::vector<std::string>{Stored(s)};
            answered.insert(s);
            return std::vector<std::string>{};
        };
        BankReceiveRun run(rig.link, rig.librarian, {Bank::fromNumber(1)});
        QSignalSpy retried(&rig.link, &MidiLink::requestRetried);
        QCOMPARE(rig.runToEnd(run), RunEnd::Completed);
        QCOMPARE(rig.librarian.matrix().CountBankPatches(Bank::fromNumber(1)), 128);
        QCOMPARE(retried.size(), 4);
        QCOMPARE(rig.requested().mid(30, 3), QStringList({"A-031", "A-032", "A-032"}));
        QVERIFY(run.report().complete());

        // A program that never answers is passed over; two in a row end the run.
        rig.answer = [](Slot s) {
            const bool silent = s == At("C-3") || s == At("C-40") || s == At("C-41");
            return silent ? std::vector<std::string>{} : std::vector<std::string>{Stored(s)};
        };
        BankReceiveRun quiet(rig.link, rig.librarian, {Bank::fromNumber(3), Bank::fromNumber(4)});
        QCOMPARE(rig.runToEnd(quiet), RunEnd::NoReply);
        QCOMPARE(rig.requested().last(), QStringLiteral("C-041"));
        QCOMPARE(rig.librarian.matrix().CountBankPatches(Bank::fromNumber(3)), 38);
        QVERIFY(rig.librarian.isEmpty(At("C-3")));
        QVERIFY(quiet.report().summary().startsWith(
            QStringLiteral("Stopped after C-041: the DeepMind stopped answering. Received 38 of "
                           "256. Not received: C-003, C-040 to C-041")));
        QCOMPARE(quiet.report().details().last(), QStringLiteral("C-042 to D-128: not requested"));
    }

    void bankSendStopsAtAMessageThatDoesNotGo() {
        Rig rig;
        for (Slot s : {At("A-6"), At("A-7"), At("A-128"), At("B-1")})
            rig.librarian.place(s, Stored(s));
        QSignalSpy failures(&rig.link, &MidiLink::failed);
        rig.ports->failStep(MidiStep::OutputSend, "refused");
        BankSendRun refused(rig.link, rig.librarian, {Bank::fromNumber(1)});
        QCOMPARE(rig.runToEnd(refused), RunEnd::SendFailed);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0][0].toString(), QStringLiteral("MIDI OUT LONG MESSAGE"));
        QCOMPARE(failures[0][1].toString(), QStringLiteral("refused"));
        QCOMPARE(refused.report().details(),
                 QStringList({"A-006 to A-007: not sent", "A-128: not sent"}));

        // The synth's port left the list after the first patch.
        rig.ports->healStep(MidiStep::OutputSend);
        rig.ports->onSend = [&rig](std::string_view) { rig.ports->setPorts({"Through"}, {}); };
        BankSendRun gone(rig.link, rig.librarian, {Bank::fromNumber(1), Bank::fromNumber(2)});
        QCOMPARE(rig.runToEnd(gone), RunEnd::PortUnavailable);
        QCOMPARE(rig.ports->sent().size(), std::size_t(1));
        QCOMPARE(gone.report().summary(),
                 QStringLiteral("Stopped after A-006: the DeepMind's port went away. Sent 1 of 4 "
                                "patches to the DeepMind"));
    }
};

QTEST_GUILESS_MAIN(ExchangeTest)
#include "test_exchange.moc"
