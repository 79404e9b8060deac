// The port layer over the in-process fake ports: every step's failure, the flags it leaves,
// the message it shows, the input buffer's rules, and the wrap-safe wait.

#include <QtTest>

#include "midi/FakeMidiBackend.h"
#include "midi/modMIDI.h"
#include "midi/modSleep.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {
const std::string kRequest("\xF0\x00\x20\x32\x20\x00\x01\x02\x05\xF7", 10);

struct Link {
    FakeMidiBackend ports;
    test::ScriptedPrompter prompter;
    modMIDI midi{ports, prompter};
};
}  // namespace

class PortLayerTest : public QObject {
    Q_OBJECT

private slots:
    void sendGoesOutWholeAndClosesThePort() {
        Link link;
        const PatchRecord record = test::MakeRecord("Warm Pad", 2, 16, 3);
        link.midi.SendSysex(std::string(301, '\x01'));  // too long: refused before any step
        QVERIFY(link.ports.calls.empty());
        link.midi.SendSysex(record);  // before any port matched: port 0
        link.midi.SetMidiOutDevice(3);
        link.midi.SendSysex(kRequest);
        const decltype(link.ports.sent) sent{{0u, record}, {3u, kRequest}};
        QVERIFY(link.ports.sent == sent);
        QCOMPARE(link.midi.MidiOutIsOpen(), modMIDI::kClosed);
        QVERIFY(!link.ports.outputOpen());
        QVERIFY(link.prompter.shown.isEmpty());
        using S = MidiStep;
        const std::vector<S> oneSend{S::OutOpen, S::OutPrepareHeader, S::OutLongMessage,
                                     S::OutUnprepareHeader, S::OutClose};
        QVERIFY(std::equal(oneSend.begin(), oneSend.end(), link.ports.calls.begin()));
    }

    // Output steps fail during SendSysex; input steps during OpenMidiIn and CloseMidiInIfOpen.
    // Output steps fail during SendSysex, input steps during OpenMidiIn and CloseMidiInIfOpen;
    // each row is named by the operation its message shows.
    void stepFailures_data() {
        QTest::addColumn<MidiStep>("step");
        QTest::addColumn<int>("flagAfterOpen");
        QTest::addColumn<int>("flagAtEnd");
        QTest::newRow("MIDI OUT OPEN") << MidiStep::OutOpen << 0 << 0;
        QTest::newRow("MIDI OUT PREPARE HEADER") << MidiStep::OutPrepareHeader << -1 << -1;
        QTest::newRow("MIDI OUT LONG MESSAGE") << MidiStep::OutLongMessage << -1 << -1;
        QTest::newRow("MIDI OUT UNPREPARE HEADER") << MidiStep::OutUnprepareHeader << -1 << -1;
        QTest::newRow("MIDI OUT CLOSE") << MidiStep::OutClose << -1 << -1;
        QTest::newRow("MIDI IN OPEN") << MidiStep::InOpen << 0 << 0;
        // A failure after the open leaves the port open for CloseMidiInIfOpen to close.
        QTest::newRow("MIDI IN PREPARE HEADER") << MidiStep::InPrepareHeader << -1 << 0;
        QTest::newRow("MIDI IN ADD BUFFER") << MidiStep::InAddBuffer << -1 << 0;
        QTest::newRow("MIDI IN START") << MidiStep::InStart << -1 << 0;
        QTest::newRow("MIDI IN RESET") << MidiStep::InReset << -1 << -1;
        QTest::newRow("MIDI IN UNPREPARE HEADER") << MidiStep::InUnprepareHeader << -1 << -1;
        QTest::newRow("MIDI IN CLOSE") << MidiStep::InClose << -1 << -1;
    }
    void stepFailures() {
        QFETCH(MidiStep, step);
        QFETCH(int, flagAfterOpen);
        QFETCH(int, flagAtEnd);
        Link link;
        link.ports.failStep(step, 11, std::string("No such port.\0garbage", 21));
        const bool output = step <= MidiStep::OutClose;
        if (output) {
            link.midi.SendSysex(kRequest);
            QCOMPARE(int(link.midi.MidiOutIsOpen()), flagAfterOpen);
            // Unprepare and close fail after the message went out.
            QCOMPARE(link.ports.sent.size(), std::size_t(step > MidiStep::OutLongMessage));
        } else {
            link.midi.OpenMidiIn();
            QCOMPARE(int(link.midi.MidiInIsOpen()), flagAfterOpen);
            link.midi.CloseMidiInIfOpen();
            QCOMPARE(int(link.midi.MidiInIsOpen()), flagAtEnd);
        }
        QCOMPARE(std::count(link.ports.calls.begin(), link.ports.calls.end(), step), 1L);
        if (flagAtEnd == -1)  // the sequence stops at the failing step
            QCOMPARE(link.ports.calls.back(), step);
        QCOMPARE(link.prompter.shown.size(), 1);
        const auto& shown = link.prompter.shown.front();
        // The platform's text ends at its first NUL.
        QCOMPARE(shown.text, QStringLiteral("Operation: %1\r\nNo such port.")
                                 .arg(QLatin1String(QTest::currentDataTag())));
        QCOMPARE(shown.title, QStringLiteral("Zanq"));
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QVERIFY(!shown.question);
        if (output) {  // nothing is retried; the next send opens afresh and, healed, ends closed
            link.ports.healStep(step);
            link.midi.SendSysex(kRequest);
            QCOMPARE(link.midi.MidiOutIsOpen(), modMIDI::kClosed);
            QCOMPARE(link.prompter.shown.size(), 1);
        }
    }

    void inputBufferCatchesOneExchange() {
        Link link;
        auto& [ports, prompter, midi] = link;
        const PatchRecord reply = test::MakeRecord("Brass", 1, 0, 9);
        ports.receive(reply);  // before any exchange: lost
        midi.OpenMidiIn();
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kOpen);
        QCOMPARE(midi.BytesRecorded(), 0u);
        ports.receive("\x90\x40\x7F");  // a note is no SysEx
        ports.receive(reply.substr(0, 256));
        QVERIFY(!midi.SysexComplete());
        ports.receive(reply.substr(256));  // the second chunk of the same message
        QVERIFY(midi.SysexComplete());
        midi.CloseMidiInIfOpen();
        ports.receive(reply);  // after the close: lost
        QVERIFY(midi.MidiInBuffer() == reply);

        // A second exchange starts empty and keeps only the first 300 bytes.
        midi.OpenMidiIn();
        QCOMPARE(midi.BytesRecorded(), 0u);
        ports.receive(reply);
        ports.receive(reply);
        QVERIFY(midi.MidiInBuffer() == reply + reply.substr(0, 9));
        midi.CloseMidiInIfOpen();

        // A failed open leaves nothing that looks received, and with the flag unset
        // CloseMidiInIfOpen calls nothing.
        ports.failStep(MidiStep::InOpen, 2, "gone");
        midi.OpenMidiIn();
        QCOMPARE(midi.BytesRecorded(), 0u);
        QVERIFY(!midi.SysexComplete());
        const auto calls = ports.calls.size();
        midi.CloseMidiInIfOpen();
        QCOMPARE(ports.calls.size(), calls);
    }

    void shutdownClosesWhatIsOpenAndClearsFlags() {
        Link link;
        link.ports.failStep(MidiStep::OutClose, 4, "stuck");
        link.midi.SendSysex(kRequest);
        link.midi.OpenMidiIn();
        QCOMPARE(link.midi.MidiOutIsOpen(), modMIDI::kOpen);
        link.midi.Shutdown();
        QCOMPARE(link.midi.MidiInIsOpen(), modMIDI::kClosed);
        QCOMPARE(link.midi.MidiOutIsOpen(), modMIDI::kClosed);
        QVERIFY(!link.ports.inputOpen());
        // One message from the send, one from the close at shutdown.
        QCOMPARE(link.prompter.shown.size(), 2);
    }

    void waitsSurviveTheCounterWrap() {
        // A fake counter 50 ms before the wrap that moves 1 ms per read.
        std::uint32_t now = 0xFFFFFFFFu - 50;
        const std::uint32_t start = now;
        QVERIFY(WaitMs(200, [&] { return now++; }));
        QVERIFY(now - start >= 200 && now - start <= 202 && now < start);

        // WaitUntil ends when done, or when 200 ms have passed across the wrap.
        now = 0xFFFFFFF0u;
        int pumped = 0;
        const TickSource still = [&] { return now; };
        QVERIFY(WaitUntil(
            200, [&] { return pumped == 3; }, [&] { ++pumped; }, still));
        QCOMPARE(pumped, 3);
        pumped = 0;
        QVERIFY(!WaitUntil(
            200, [] { return false; }, [&] { now += 50, ++pumped; }, still));
        QCOMPARE(pumped, 4);
    }
};

QTEST_GUILESS_MAIN(PortLayerTest)
#include "test_portlayer.moc"
