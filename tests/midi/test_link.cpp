// The MIDI link over fake ports: messages go whole to the port named at the moment of sending,
// an exchange catches only the SysEx bytes of its own reply and ends on the reply's F7 rather
// than on its deadline, and a MIDI system that hangs holds up neither the caller nor the
// link's end.

#include <QtTest>

#include "midi/MidiLink.h"
#include "midi/ReplyCatcher.h"
#include "support/FakeMidiPorts.h"
#include "support/Records.h"

using namespace zanq;

namespace {

const std::string kRequest("\xF0\x00\x20\x32\x20\x00\x01\x02\x05\xF7", 10);

struct Rig {
    test::FakeMidiPorts* ports = new test::FakeMidiPorts;
    MidiLink link{std::unique_ptr<MidiPorts>(ports)};
    QSignalSpy sends{&link, &MidiLink::sendFinished};
    QSignalSpy failures{&link, &MidiLink::failed};
    std::vector<std::string> answer;  // the pieces the synth answers a request with

    Rig() {
        ports->setPorts({"DM out"}, {"DM in"});
        ports->onSend = [this](std::string_view) {
            for (const auto& piece : answer)
                ports->deliver(piece);
        };
    }
    SendOutcome lastOutcome() const { return sends.last().at(1).value<SendOutcome>(); }
    // One request exchanged for its reply.
    QByteArray exchange(std::vector<std::string> pieces) {
        answer = std::move(pieces);
        QSignalSpy replies(&link, &MidiLink::replyReceived);
        QSignalSpy ended(&link, &MidiLink::requestsEnded);
        link.request({kRequest});
        return ended.wait() && replies.size() == 1 ? replies[0][2].toByteArray() : "(none)";
    }
};

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

class LinkTest : public QObject {
    Q_OBJECT

private slots:
    void messagesGoWholeToThePortNamedWhenSent() {
        Rig rig;
        const PatchRecord record = test::MakeRecord("Warm Pad", 2, 16, 3);
        rig.ports->setPorts({"Midi Through", "DeepMind12 MIDI in"}, {});
        rig.link.send(kRequest);  // before detection chose a port: the first one listed
        QVERIFY(rig.sends.wait());
        rig.link.setOutputPort("DeepMind12 MIDI in");
        // The list changed since detection: the synth's port moved to the front.
        rig.ports->setPorts({"DeepMind12 MIDI in", "Midi Through"}, {});
        rig.link.send(record);
        QVERIFY(rig.sends.wait());
        QCOMPARE(rig.lastOutcome(), SendOutcome::Sent);
        const auto sent = rig.ports->sent();
        QCOMPARE(sent.size(), std::size_t(2));
        QCOMPARE(sent[0].port, std::string("Midi Through"));
        QVERIFY(sent[0].bytes == kRequest);
        QCOMPARE(sent[1].port, std::string("DeepMind12 MIDI in"));
        QVERIFY(sent[1].bytes == record);

        // The synth went away: its name is nowhere, so nothing goes anywhere.
        rig.ports->setPorts({"Midi Through"}, {});
        rig.link.send(record);
        QVERIFY(rig.sends.wait());
        QCOMPARE(rig.lastOutcome(), SendOutcome::PortUnavailable);
        QCOMPARE(rig.failures.last().at(0).toString(), QStringLiteral("MIDI OUT OPEN"));
        QCOMPARE(rig.ports->sent().size(), std::size_t(2));
    }

    void anExchangeCatchesOnlyItsOwnReply() {
        Rig rig;
        const PatchRecord record = test::MakeRecord("Brass", 1, 0, 9);
        QCOMPARE(rig.exchange({record}), Bytes(record));

        // Bytes that come between exchanges are nobody's.
        rig.ports->deliver(record);
        QCOMPARE(rig.exchange({}), QByteArray());

        // In pieces, with a note and a clock tick coming in between; what follows the F7 is
        // no part of it.
        const std::string_view whole(record);
        QCOMPARE(rig.exchange({std::string(whole.substr(0, 100)), "\x90\x40\x7F", "\xF8",
                               std::string(whole.substr(100)), "\xF0\x01\xF7"}),
                 Bytes(record));

        // Longer than the buffer: cut there. Unfinished: what came, once the wait is over.
        QCOMPARE(rig.exchange({record + record}), Bytes((record + record).substr(0, 300)));
        QCOMPARE(rig.exchange({record.substr(0, 100)}), Bytes(record.substr(0, 100)));
        QVERIFY(rig.failures.isEmpty());
    }

    void aWholeReplyEndsTheWaitAtOnce() {
        ReplyCatcher catcher;
        const PatchRecord record = test::MakeRecord("Brass", 1, 0, 9);
        catcher.arm();
        catcher.add(record);
        QDeadlineTimer deadline(5000);
        QVERIFY(catcher.await(deadline) == record);
        QVERIFY(deadline.remainingTime() > 2500);
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
