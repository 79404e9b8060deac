// Exchanges and bank runs over fake ports, with a synth that answers from a made-up memory: an
// exchange gives up a while after a request that brings nothing, judges what came and stores
// valid replies where they say; bank runs go in order, skip, stop and report every slot.

#include <QtTest>

#include "midi/BankRuns.h"
#include "midi/MidiLink.h"
#include "midi/ProgramExchange.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "support/FakeMidiPorts.h"
#include "support/Records.h"

using namespace zanq;

namespace {

Slot At(char bank, int program) {
    return {*Bank::fromLetter(std::string(1, bank)), Program::fromNumber(program)};
}

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
};

}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void aSilentSynthIsGivenUpAfterTheWait() {
        Rig rig;
        rig.answer = [](Slot) { return std::vector<std::string>{}; };
        QSignalSpy done(&rig.exchange, &ProgramExchange::finished);
        QElapsedTimer clock;
        clock.start();
        rig.exchange.start(At('A', 1));
        QVERIFY(done.wait(1000));
        QVERIFY(clock.elapsed() >= 200);
        QCOMPARE(done.first().at(0).value<ExchangeResult>().outcome, ReplyOutcome::NoReply);
        QVERIFY(!rig.link.requesting());
    }

    void whatComesBackIsJudged() {
        Rig rig;
        QSignalSpy changes(&rig.librarian, &Librarian::slotChanged);
        const auto answerWith = [&](std::vector<std::string> pieces) {
            rig.answer = [pieces](Slot) { return pieces; };
        };
        std::string bankOutOfRange = Stored(At('C', 1));
        bankOutOfRange[8] = 8;
        for (const auto& garbled :
             {Stored(At('C', 1)).erase(100, 1), bankOutOfRange, Stored(At('C', 1)).substr(0, 100),
              Stored(At('C', 1)) + Stored(At('C', 2))}) {
            answerWith({garbled});
            QCOMPARE(rig.exchange1(At('C', 1)).outcome, ReplyOutcome::Garbled);
        }
        QVERIFY(changes.isEmpty());

        // A reply that names another slot is stored there; the slot asked for stays as it was.
        answerWith({Stored(At('D', 50))});
        const auto result = rig.exchange1(At('C', 1));
        QCOMPARE(result.outcome, ReplyOutcome::Stored);
        QVERIFY(result.storedAt == At('D', 50));
        QVERIFY(rig.librarian.isEmpty(At('C', 1)));
        QVERIFY(rig.librarian.at(At('D', 50)) == Stored(At('D', 50)));

        // The input port that does not open: nothing can come back.
        QSignalSpy failures(&rig.link, &MidiLink::failed);
        rig.ports->failStep(MidiStep::InputOpen, "busy");
        QCOMPARE(rig.exchange1(At('C', 2)).outcome, ReplyOutcome::NoReply);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0][0].toString(), QStringLiteral("MIDI IN OPEN"));
    }

    void bankReceiveGoesInOrderAndStopsWhereNothingCame() {
        Rig rig;
        rig.answer = [](Slot s) {  // one reply broken, the rest whole
            return std::vector<std::string>{s == At('B', 7) ? "\xF0\xF7" : Stored(s)};
        };
        struct Seen {
            RunEnd end = RunEnd::PortUnavailable;  // none of a receive run's ends
            QList<QList<QVariant>> started, results;
        };
        const auto runOver = [&](std::vector<Bank> banks,
                                 std::function<void(BankReceiveRun&)> meanwhile = {}) {
            BankReceiveRun run(rig.link, rig.librarian, std::move(banks));
            QSignalSpy finished(&run, &BankReceiveRun::finished);
            QSignalSpy started(&run, &BankReceiveRun::slotStarted);
            QSignalSpy results(&run, &BankReceiveRun::slotFinished);
            if (meanwhile)
                meanwhile(run);
            Seen seen;
            if (run.start() && finished.wait(20000))
                seen = {finished[0][0].value<RunEnd>(), started, results};
            return seen;
        };
        const auto [end, started, results] = runOver({Bank::fromNumber(2), Bank::fromNumber(4)});
        QCOMPARE(end, RunEnd::Completed);
        QCOMPARE(results.size(), 256);
        QCOMPARE(rig.requested().first(), QStringLiteral("B-001"));
        QCOMPARE(rig.requested()[128], QStringLiteral("D-001"));
        QCOMPARE(rig.requested().last(), QStringLiteral("D-128"));
        QVERIFY(started.last().at(0).value<Slot>() == At('D', 128));
        QCOMPARE(results[6].at(0).value<ExchangeResult>().outcome, ReplyOutcome::Garbled);
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 255);

        // Silence from A-003 on ends the run there.
        rig.answer = [](Slot s) {
            return s.program.number() < 3 ? std::vector<std::string>{Stored(s)}
                                          : std::vector<std::string>{};
        };
        const auto before = rig.requested().size();
        QCOMPARE(runOver({Bank::fromNumber(1), Bank::fromNumber(3)}).end, RunEnd::NoReply);
        QCOMPARE(rig.requested().mid(before), QStringList({"A-001", "A-002", "A-003"}));

        // Stopped while the first request goes out: the run ends after that exchange.
        const Seen stopped = runOver({Bank::fromNumber(5)}, [&](BankReceiveRun& run) {
            rig.answer = [&run](Slot s) {
                QMetaObject::invokeMethod(&run, &BankReceiveRun::stop,
                                          Qt::BlockingQueuedConnection);
                return std::vector<std::string>{Stored(s)};
            };
        });
        QCOMPARE(stopped.end, RunEnd::Stopped);
        QCOMPARE(rig.requested().last(), QStringLiteral("E-001"));
        QVERIFY(!rig.librarian.isEmpty(At('E', 1)));
    }

    void bankSendGoesInOrderSkippingGapsAndStopsWithoutAPort() {
        Rig rig;
        for (Slot s : {At('A', 6), At('A', 7), At('A', 128), At('B', 1), At('C', 17)})
            rig.librarian.place(s, Stored(s));
        const auto runOver = [&](std::vector<Bank> banks) {
            auto run = std::make_unique<BankSendRun>(rig.link, rig.librarian, std::move(banks));
            QSignalSpy finished(run.get(), &BankSendRun::finished);
            run->start();
            return finished.wait() ? finished.first().at(0).value<RunEnd>() : RunEnd::Stopped;
        };
        QCOMPARE(runOver({Bank::fromNumber(1), Bank::fromNumber(3)}), RunEnd::Completed);
        const auto sent = rig.ports->sent();
        QCOMPARE(sent.size(), std::size_t(4));
        for (std::size_t i = 0; i < sent.size(); ++i)
            QVERIFY(sent[i].bytes ==
                    Stored(std::array{At('A', 6), At('A', 7), At('A', 128), At('C', 17)}[i]));

        // A message the port refuses is reported and the run goes on; a port that is not
        // there ends the run at its first message.
        rig.ports->failStep(MidiStep::OutputSend, "refused");
        QSignalSpy failures(&rig.link, &MidiLink::failed);
        QCOMPARE(runOver({Bank::fromNumber(1)}), RunEnd::Completed);
        QCOMPARE(failures.size(), 3);
        QCOMPARE(failures[0][0].toString(), QStringLiteral("MIDI OUT LONG MESSAGE"));
        QCOMPARE(failures[0][1].toString(), QStringLiteral("refused"));
        rig.ports->healStep(MidiStep::OutputSend);
        rig.link.setOutputPort("DM out");
        rig.ports->setPorts({"Midi Through"}, {});
        QCOMPARE(runOver({Bank::fromNumber(1)}), RunEnd::PortUnavailable);
        QCOMPARE(failures.size(), 4);
        QCOMPARE(rig.ports->sent().size(), std::size_t(4));
    }
};

QTEST_GUILESS_MAIN(ExchangeTest)
#include "test_exchange.moc"
