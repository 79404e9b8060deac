// The MIDI link, its exchanges and bank runs over fake ports, with a synth that answers each
// request from a made-up memory.

#include <QtTest>

#include "midi/BankRuns.h"
#include "midi/MidiLink.h"
#include "midi/ProgramExchange.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "support/FakeMidiPorts.h"
#include "support/Records.h"

using namespace zanq;
using test::At;
using test::SlotRecord;

namespace {

using Pieces = std::vector<std::string>;

struct Rig : test::TestLibrarian {
    test::FakeMidiPorts* ports = new test::FakeMidiPorts;
    MidiLink link{std::unique_ptr<MidiPorts>(ports)};
    ProgramExchange exchange{link, librarian};
    QSignalSpy failures{&link, &MidiLink::failed};
    // The pieces the synth answers a request for a slot with; none: silence.
    std::function<Pieces(Slot)> answer = [](Slot s) { return Pieces{SlotRecord(s)}; };

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
            if (sent.bytes.size() == 10)
                names << QString::fromStdString(
                    Slot{Bank::fromByte(sent.bytes[7]), Program::fromByte(sent.bytes[8])}.text());
        return names;
    }
    // One request, asked once, exchanged for a reply of these pieces; what the link caught.
    QByteArray reply(Pieces pieces) {
        answer = [pieces](Slot) { return pieces; };
        QSignalSpy replies(&link, &MidiLink::replyReceived);
        QSignalSpy ended(&link, &MidiLink::requestsEnded);
        link.request({dialect.programDumpRequest(At("A-1"))});
        return ended.wait() && replies.size() == 1 ? replies[0][2].toByteArray() : "(none)";
    }
    ExchangeResult exchange1(Slot slot) {
        QSignalSpy done(&exchange, &ProgramExchange::finished);
        if (!exchange.start(slot) || !done.wait(2000))
            return {slot, ReplyOutcome(-1), slot};  // never finished: no outcome matches
        return done.first().at(0).value<ExchangeResult>();
    }
    // Runs a bank run to its end; how it ended.
    template <typename Run>
    RunEnd runToEnd(Run& run) {
        QSignalSpy finished(&run, &BankRun::finished);
        run.start();
        return !finished.isEmpty() || finished.wait(20000) ? finished[0][0].value<RunEnd>()
                                                           : RunEnd(-1);
    }
};

}  // namespace

class LinkTest : public QObject {
    Q_OBJECT

private slots:
    void messagesGoWholeToThePortNamedWhenSent() {
        Rig rig;
        QSignalSpy sends(&rig.link, &MidiLink::sendFinished);
        const PatchRecord record = test::MakeRecord("Warm Pad", 2, 16, 3);
        const std::string request = rig.dialect.programDumpRequest(At("B-7"));
        rig.ports->setPorts({"Midi Through", "DeepMind12 MIDI in"}, {});
        rig.link.send(request);  // before detection chose a port: the first one listed
        QVERIFY(sends.wait());
        rig.link.setOutputPort("DeepMind12 MIDI in");
        // The list changed since detection: the synth's port moved to the front.
        rig.ports->setPorts({"DeepMind12 MIDI in", "Midi Through"}, {});
        rig.link.send(record);
        QVERIFY(sends.wait());
        QCOMPARE(sends.last().at(1).value<SendOutcome>(), SendOutcome::Sent);
        const auto sent = rig.ports->sent();
        QCOMPARE(sent.size(), std::size_t(2));
        QCOMPARE(sent[0].port, std::string("Midi Through"));
        QVERIFY(sent[0].bytes == request);
        QCOMPARE(sent[1].port, std::string("DeepMind12 MIDI in"));
        QVERIFY(sent[1].bytes == record);
    }

    void anExchangeKeepsOnlyTheSysexOfItsOwnReply() {
        Rig rig;
        const PatchRecord record = test::MakeRecord("Brass", 1, 0, 9);
        const QByteArray whole = QByteArray::fromStdString(record);
        QCOMPARE(rig.reply({record}), whole);
        // Bytes that come between exchanges are nobody's.
        rig.ports->deliver(record);
        QCOMPARE(rig.reply({}), QByteArray());
        // In pieces, with a note and a clock tick in between; what follows the F7 is no part.
        QCOMPARE(rig.reply({record.substr(0, 100), "\x90\x40\x7F", "\xF8", record.substr(100),
                            "\xF0\x01\xF7"}),
                 whole);
        // Longer than the buffer: cut there. Unfinished: what came, once the wait is over.
        QCOMPARE(rig.reply({record + record}), (whole + whole).left(300));
        QCOMPARE(rig.reply({record.substr(0, 100)}), whole.left(100));
        QVERIFY(rig.failures.isEmpty());
    }

    void anExchangeAsksOnceMoreThenJudgesWhatCame() {
        Rig rig;
        rig.answer = [](Slot) { return Pieces{}; };
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.exchange1(At("A-1")).outcome, ReplyOutcome::NoReply);
        QVERIFY(clock.elapsed() >= 2 * MidiLink::kReplyWaitMs);
        QCOMPARE(rig.requested(), QStringList({"A-001", "A-001"}));
        QVERIFY(!rig.link.requesting());

        QSignalSpy changes(&rig.librarian, &Librarian::slotChanged);
        std::string bankOutOfRange = SlotRecord(At("C-1"));
        bankOutOfRange[8] = 8;
        for (const auto& garbled : {SlotRecord(At("C-1")).erase(100, 1), bankOutOfRange,
                                    SlotRecord(At("C-1")).substr(0, 100),
                                    SlotRecord(At("C-1")) + SlotRecord(At("C-2"))}) {
            rig.answer = [garbled](Slot) { return Pieces{garbled}; };
            QCOMPARE(rig.exchange1(At("C-1")).outcome, ReplyOutcome::Garbled);
        }
        QVERIFY(changes.isEmpty());
        QCOMPARE(rig.requested().size(), 2 + 8);  // each garbled reply asked for once more

        // A reply that names another slot is stored there; the slot asked for stays as it was.
        rig.answer = [](Slot) { return Pieces{SlotRecord(At("D-50"))}; };
        const auto result = rig.exchange1(At("C-1"));
        QCOMPARE(result.outcome, ReplyOutcome::Stored);
        QVERIFY(result.storedAt == At("D-50"));
        QVERIFY(rig.librarian.isEmpty(At("C-1")));
        QVERIFY(rig.librarian.at(At("D-50")) == SlotRecord(At("D-50")));

        // An input port that does not open: asking again would only fail again.
        rig.ports->failStep(MidiStep::InputOpen, "busy");
        QCOMPARE(rig.exchange1(At("C-2")).outcome, ReplyOutcome::NoReply);
        QCOMPARE(rig.failures.size(), 1);
        QCOMPARE(rig.failures[0][0].toString(), QStringLiteral("MIDI IN OPEN"));
        QCOMPARE(rig.requested().size(), 2 + 8 + 1 + 1);
    }

    void bankReceiveGoesInOrderReportsAndStops() {
        Rig rig;
        rig.answer = [](Slot s) {  // every tenth of bank B broken, D-009 answered for E-007
            return s.bank.number() == 2 && s.program.number() % 10 == 0 ? Pieces{"\xF0\xF7"}
                   : s == At("D-9") ? Pieces{SlotRecord(At("E-7"))}
                                    : Pieces{SlotRecord(s)};
        };
        BankReceiveRun run(rig.link, rig.librarian, {Bank::fromNumber(2), Bank::fromNumber(4)});
        QSignalSpy started(&run, &BankReceiveRun::slotStarted);
        QSignalSpy results(&run, &BankReceiveRun::slotFinished);
        QCOMPARE(rig.runToEnd(run), RunEnd::Completed);
        QCOMPARE(results.size(), 256);
        QVERIFY(started.last().at(0).value<Slot>() == At("D-128"));
        const QStringList requested = rig.requested();
        QCOMPARE(requested.size(), 256 + 12);
        QCOMPARE(requested.first(), QStringLiteral("B-001"));
        QCOMPARE(requested.mid(9, 3), QStringList({"B-010", "B-010", "B-011"}));
        QCOMPARE(requested.last(), QStringLiteral("D-128"));
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 256 - 13 + 1);
        QVERIFY(rig.librarian.at(At("E-7")) == SlotRecord(At("E-7")));
        // The summary names the first eight stretches and counts the rest.
        QCOMPARE(run.report().summary(),
                 QStringLiteral("Received 243 of 256. Not received: B-010, B-020, B-030, B-040, "
                                "B-050, B-060, B-070, B-080 and 5 more"));
        QCOMPARE(run.report().details().size(), 13);
        QCOMPARE(run.report().details().first(), QStringLiteral("B-010: garbled reply"));
        QCOMPARE(run.report().details().last(),
                 QStringLiteral("D-009: the reply was for E-007 and was stored there"));

        // Stopped while the first request goes out: the run ends after that exchange.
        BankReceiveRun stopped(rig.link, rig.librarian, {Bank::fromNumber(5)});
        rig.answer = [&stopped](Slot s) {
            QMetaObject::invokeMethod(&stopped, &BankReceiveRun::stop,
                                      Qt::BlockingQueuedConnection);
            return Pieces{SlotRecord(s)};
        };
        QCOMPARE(rig.runToEnd(stopped), RunEnd::Stopped);
        QCOMPARE(rig.requested().last(), QStringLiteral("E-001"));
        QVERIFY(!rig.librarian.isEmpty(At("E-1")));
        QVERIFY(stopped.report().summary().startsWith(
            QStringLiteral("Stopped after E-001 at the user's request. Received 1 of 128")));

        // A program that never answers is passed over, its slot kept; two in a row end the run.
        const PatchRecord kept = test::MakeRecord("Kept", 2, 2, 1);
        rig.librarian.place(At("C-3"), kept);
        rig.answer = [](Slot s) {
            const bool silent = s == At("C-3") || s == At("C-40") || s == At("C-41");
            return silent ? Pieces{} : Pieces{SlotRecord(s)};
        };
        BankReceiveRun quiet(rig.link, rig.librarian, {Bank::fromNumber(3), Bank::fromNumber(4)});
        QCOMPARE(rig.runToEnd(quiet), RunEnd::NoReply);
        QCOMPARE(rig.requested().last(), QStringLiteral("C-041"));
        QCOMPARE(rig.librarian.matrix().CountBankPatches(Bank::fromNumber(3)), 38 + 1);
        QVERIFY(rig.librarian.at(At("C-3")) == kept);
        QVERIFY(quiet.report().summary().startsWith(
            QStringLiteral("Stopped after C-041: the DeepMind stopped answering. Received 38 of "
                           "256. Not received: C-003, C-040 to C-041")));
        QCOMPARE(quiet.report().details().last(), QStringLiteral("C-042 to D-128: not requested"));
    }

    void bankSendReadsBackAndStopsAtAMessageThatDoesNotGo() {
        Rig rig;
        for (Slot s : {At("A-6"), At("A-7"), At("A-128"), At("C-1")})
            rig.librarian.place(s, SlotRecord(s));
        const std::vector<Bank> banks{Bank::fromNumber(1), Bank::fromNumber(3)};
        rig.answer = [](Slot s) {  // A-007 comes back broken, C-001 with other bytes
            return Pieces{s == At("A-7")   ? "\xF0\xF7"
                          : s == At("C-1") ? test::MakeRecord("Changed", 2, 0)
                                           : SlotRecord(s)};
        };
        BankSendRun verified(rig.link, rig.librarian, banks);
        verified.setReadBack(true);
        QVERIFY(!verified.report().complete());
        QCOMPARE(rig.runToEnd(verified), RunEnd::Completed);
        QCOMPARE(verified.report().summary(),
                 QStringLiteral("Sent 4 patches to the DeepMind. Read back: 2 of 4 matched. Did "
                                "not match: A-007, C-001"));
        QCOMPARE(verified.report().details(),
                 QStringList({"A-007: not read back", "C-001: read back different"}));

        BankSendRun stopped(rig.link, rig.librarian, banks);
        stopped.stop();
        QCOMPARE(rig.runToEnd(stopped), RunEnd::Stopped);
        QCOMPARE(stopped.report().summary(),
                 QStringLiteral("Stopped before the first patch at the user's request. Sent 0 of "
                                "4 patches to the DeepMind"));

        // Stretches apart in the plan stay apart in the list, even next to each other there.
        rig.ports->failStep(MidiStep::OutputSend, "refused");
        BankSendRun refused(rig.link, rig.librarian, banks);
        QCOMPARE(rig.runToEnd(refused), RunEnd::SendFailed);
        QCOMPARE(rig.failures.size(), 1);
        QCOMPARE(rig.failures[0][0].toString(), QStringLiteral("MIDI OUT LONG MESSAGE"));
        QCOMPARE(rig.failures[0][1].toString(), QStringLiteral("refused"));
        QCOMPARE(refused.report().details(),
                 QStringList({"A-006 to A-007: not sent", "A-128: not sent", "C-001: not sent"}));

        // The synth's port left the list after the first patch.
        rig.ports->healStep(MidiStep::OutputSend);
        rig.link.setOutputPort("DM out");
        const std::size_t before = rig.ports->sent().size();
        rig.ports->onSend = [&rig](std::string_view) { rig.ports->setPorts({"Through"}, {}); };
        BankSendRun gone(rig.link, rig.librarian, banks);
        QCOMPARE(rig.runToEnd(gone), RunEnd::PortUnavailable);
        QCOMPARE(rig.ports->sent().size(), before + 1);
        QCOMPARE(gone.report().summary(),
                 QStringLiteral("Stopped after A-006: the DeepMind's port went away. Sent 1 of 4 "
                                "patches to the DeepMind"));
    }

    void aHangingMidiSystemHoldsNothingUp() {
        auto rig = std::make_unique<Rig>();
        test::FakeMidiPorts* ports = rig->ports;
        ports->hang();
        QVERIFY(rig->link.listPorts());
        QTRY_COMPARE(ports->listings(), 1);
        QVERIFY(!rig->link.listPorts());  // one question at a time

        // Closing leaves the stuck thread behind instead of waiting for it.
        QElapsedTimer clock;
        clock.start();
        rig.reset();
        QVERIFY(clock.elapsed() < 10 * MidiLink::kShutdownWaitMs);
        ports->release();  // the thread it left behind may end now
    }
};

QTEST_GUILESS_MAIN(LinkTest)
#include "test_link.moc"
