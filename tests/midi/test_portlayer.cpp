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

QString Expected(const char* operation, const char* text) {
    return QStringLiteral("Operation: ") + QString::fromLatin1(operation) + QChar(0x0D) +
           QChar(0x0A) + QString::fromLatin1(text);
}
}  // namespace

class PortLayerTest : public QObject {
    Q_OBJECT

private slots:
    void sendGoesOutWholeAndClosesThePort() {
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        const PatchRecord record = test::MakeRecord("Warm Pad", 2, 16, 3);
        midi.SendSysex(record);
        midi.SetMidiOutDevice(3);
        midi.SendSysex(kRequest);
        QCOMPARE(ports.sent.size(), std::size_t(2));
        // A send before any port matched goes to port 0.
        QCOMPARE(ports.sent[0].first, 0u);
        QVERIFY(ports.sent[0].second == record);
        QCOMPARE(ports.sent[1].first, 3u);
        QVERIFY(ports.sent[1].second == kRequest);
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kClosed);
        QVERIFY(!ports.outputOpen());
        QVERIFY(prompter.shown.isEmpty());
        const std::vector<MidiStep> oneSend{MidiStep::OutOpen, MidiStep::OutPrepareHeader,
                                            MidiStep::OutLongMessage, MidiStep::OutUnprepareHeader,
                                            MidiStep::OutClose};
        QVERIFY(std::vector<MidiStep>(ports.calls.begin(), ports.calls.begin() + 5) == oneSend);
    }

    void tooLongMessageIsRefused() {
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        midi.SendSysex(std::string(301, '\x01'));
        QVERIFY(ports.calls.empty());
        QVERIFY(prompter.shown.isEmpty());
    }

    void outputFailures_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("flagAfter");
        QTest::addColumn<bool>("sent");
        QTest::newRow("open") << int(MidiStep::OutOpen) << "MIDI OUT OPEN" << 0 << false;
        QTest::newRow("prepare") << int(MidiStep::OutPrepareHeader) << "MIDI OUT PREPARE HEADER"
                                 << -1 << false;
        QTest::newRow("long message")
            << int(MidiStep::OutLongMessage) << "MIDI OUT LONG MESSAGE" << -1 << false;
        QTest::newRow("unprepare")
            << int(MidiStep::OutUnprepareHeader) << "MIDI OUT UNPREPARE HEADER" << -1 << true;
        QTest::newRow("close") << int(MidiStep::OutClose) << "MIDI OUT CLOSE" << -1 << true;
    }
    void outputFailures() {
        QFETCH(int, step);
        QFETCH(QString, operation);
        QFETCH(int, flagAfter);
        QFETCH(bool, sent);
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        ports.failStep(MidiStep(step), 7, "The device is busy.");
        midi.SendSysex(kRequest);
        QCOMPARE(int(midi.MidiOutIsOpen()), flagAfter);
        QCOMPARE(ports.sent.size(), std::size_t(sent ? 1 : 0));
        // The sequence stops at the failing step.
        QCOMPARE(ports.calls.back(), MidiStep(step));
        QCOMPARE(prompter.shown.size(), 1);
        const auto& shown = prompter.shown.front();
        QCOMPARE(shown.text, Expected(operation.toLatin1().constData(), "The device is busy."));
        QCOMPARE(shown.title, QStringLiteral("Zanq"));
        QCOMPARE(shown.icon, QMessageBox::NoIcon);
        QVERIFY(!shown.question);

        // Nothing is retried; the next send opens afresh and, healed, ends closed.
        ports.healStep(MidiStep(step));
        midi.SendSysex(kRequest);
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kClosed);
        QCOMPARE(prompter.shown.size(), 1);
    }

    void inputFailures_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("flagAfterOpen");
        QTest::addColumn<int>("flagAfterClose");
        // A failure after the open leaves the port open for CloseMidiInIfOpen to close.
        QTest::newRow("open") << int(MidiStep::InOpen) << "MIDI IN OPEN" << 0 << 0;
        QTest::newRow("prepare") << int(MidiStep::InPrepareHeader) << "MIDI IN PREPARE HEADER" << -1
                                 << 0;
        QTest::newRow("add buffer")
            << int(MidiStep::InAddBuffer) << "MIDI IN ADD BUFFER" << -1 << 0;
        QTest::newRow("start") << int(MidiStep::InStart) << "MIDI IN START" << -1 << 0;
        QTest::newRow("reset") << int(MidiStep::InReset) << "MIDI IN RESET" << -1 << -1;
        QTest::newRow("unprepare")
            << int(MidiStep::InUnprepareHeader) << "MIDI IN UNPREPARE HEADER" << -1 << -1;
        QTest::newRow("close") << int(MidiStep::InClose) << "MIDI IN CLOSE" << -1 << -1;
    }
    void inputFailures() {
        QFETCH(int, step);
        QFETCH(QString, operation);
        QFETCH(int, flagAfterOpen);
        QFETCH(int, flagAfterClose);
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        ports.failStep(MidiStep(step), 11, std::string("No such port.\0garbage", 21));
        midi.OpenMidiIn();
        QCOMPARE(int(midi.MidiInIsOpen()), flagAfterOpen);
        midi.CloseMidiInIfOpen();
        QCOMPARE(int(midi.MidiInIsOpen()), flagAfterClose);
        QVERIFY(std::find(ports.calls.begin(), ports.calls.end(), MidiStep(step)) !=
                ports.calls.end());
        QCOMPARE(prompter.shown.size(), 1);
        // The platform's text ends at its first NUL.
        QCOMPARE(prompter.shown.front().text,
                 Expected(operation.toLatin1().constData(), "No such port."));
        QCOMPARE(prompter.shown.front().title, QStringLiteral("Zanq"));
        QCOMPARE(prompter.shown.front().icon, QMessageBox::NoIcon);
        // A failing close step stops the sequence there.
        if (flagAfterClose == -1)
            QCOMPARE(ports.calls.back(), MidiStep(step));
    }

    void failedOpenLeavesNothingReceived() {
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        midi.OpenMidiIn();
        ports.receive(kRequest);
        midi.CloseMidiInIfOpen();
        ports.failStep(MidiStep::InOpen, 2, "gone");
        midi.OpenMidiIn();
        QCOMPARE(midi.BytesRecorded(), 0u);
        QVERIFY(!midi.SysexComplete());
        // With the flag unset, CloseMidiInIfOpen does nothing at all.
        const auto calls = ports.calls.size();
        midi.CloseMidiInIfOpen();
        QCOMPARE(ports.calls.size(), calls);
    }

    void inputBufferCatchesOneExchange() {
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
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
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
        ports.receive(reply);  // after the close: lost
        QCOMPARE(midi.BytesRecorded(), 291u);
        QVERIFY(midi.MidiInBuffer() == reply);

        // A second exchange starts empty and keeps only the first 300 bytes.
        midi.OpenMidiIn();
        QCOMPARE(midi.BytesRecorded(), 0u);
        ports.receive(reply);
        ports.receive(reply);
        QCOMPARE(midi.BytesRecorded(), 300u);
        QVERIFY(midi.MidiInBuffer() == reply + reply.substr(0, 9));
        midi.CloseMidiInIfOpen();
    }

    void shutdownClosesWhatIsOpenAndClearsFlags() {
        FakeMidiBackend ports;
        test::ScriptedPrompter prompter;
        modMIDI midi(ports, prompter);
        ports.failStep(MidiStep::OutClose, 4, "stuck");
        midi.SendSysex(kRequest);
        midi.OpenMidiIn();
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kOpen);
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kOpen);
        midi.Shutdown();
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kClosed);
        QVERIFY(!ports.inputOpen());
        // One message from the send, one from the close at shutdown.
        QCOMPARE(prompter.shown.size(), 2);
    }

    void waitSurvivesTheCounterWrap() {
        // A fake counter 50 ms before the wrap that moves 1 ms per read.
        std::uint32_t now = 0xFFFFFFFFu - 50;
        const TickSource ticks = [&] { return now++; };
        const std::uint32_t start = now;
        QVERIFY(WaitMs(200, ticks));
        const std::uint32_t waited = now - start;
        QVERIFY(waited >= 200 && waited <= 202);
        QVERIFY(now < start);  // the counter really wrapped
    }

    void waitUntilEndsOnDoneOrTimeout() {
        std::uint32_t now = 0xFFFFFFF0u;
        const TickSource ticks = [&] { return now; };
        int pumped = 0;
        // Done after three pumps: ends before the time is up.
        QVERIFY(WaitUntil(
            200, [&] { return pumped == 3; }, [&] { ++pumped; }, ticks));
        QCOMPARE(pumped, 3);
        // Never done: ends when 200 ms have passed across the wrap.
        pumped = 0;
        QVERIFY(!WaitUntil(
            200, [] { return false; },
            [&] {
                now += 50;
                ++pumped;
            },
            ticks));
        QCOMPARE(pumped, 4);
    }
};

QTEST_GUILESS_MAIN(PortLayerTest)
#include "test_portlayer.moc"
