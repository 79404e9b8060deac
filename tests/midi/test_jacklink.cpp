// The port layer and detection over a JACK server with the simulated DeepMind: detection
// follows the synth coming and going, the capture window's rules hold on real ports, and a
// missing port is reported by name. Records and replies in bulk are the transfer tests' job.
// Other simulators may share the server, so the test's own runs under a client name of its own.

#include <QtTest>

#include "midi/PortMatch.h"
#include "midi/RtMidiBackend.h"
#include "midi/modSleep.h"
#include "shell/ClickableLabel.h"
#include "support/DeepMindSim.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;

namespace {

std::string Request(int bank, int program) {
    return std::string("\xF0\x00\x20\x32\x20\x00\x01", 7) + char(bank) + char(program) + '\xF7';
}

// The test's simulator under a client name of its own, and the port layer talking to it.
struct Link {
    const std::string client =
        "DeepMind12-test" + std::to_string(QCoreApplication::applicationPid());
    test::DeepMindSim sim;
    RtMidiBackend ports{"ZANQ Test"};
    test::ScriptedPrompter prompter;
    modMIDI midi{ports, prompter};

    // The number of our simulator's port among these; past the end when it is missing.
    std::uint32_t portOf(const std::vector<std::string>& names, const std::string& port) const {
        std::uint32_t i = 0;
        while (i < names.size() && names[i].find(client + port) == std::string::npos)
            ++i;
        return i;
    }
    // Starts the simulator and points the layer at its ports as detection would.
    bool start(const QStringList& options) {
        if (!sim.start(QStringList{"--client", QString::fromStdString(client)} + options))
            return false;
        midi.SetMidiOutDevice(portOf(ports.outputPortNames(), " MIDI in"));
        midi.SetMidiInDevice(portOf(ports.inputPortNames(), " MIDI out"));
        return true;
    }
};

}  // namespace

class JackLinkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!test::DeepMindSim::JackServerRunning())
            QSKIP("needs a running JACK server; test.sh starts one");
    }

    void detectionFollowsTheSimulator() {
        Link link;
        const auto foreign = [&] {
            return FindDeepMindPort(link.ports.outputPortNames()) ||
                   FindDeepMindPort(link.ports.inputPortNames());
        };
        if (foreign())
            QSKIP("another simulated DeepMind is on the JACK server");
        for (const auto& name : link.ports.outputPortNames())
            QVERIFY2(name.rfind("ZANQ Test", 0) != 0, name.c_str());  // never our own ports
        test::WiredMain app(link.ports, QDir::tempPath());
        auto* detector = FindDeepMindDetector(app.window);
        const auto shown = [&] {
            return QString::number(test::Ui(app.window).cmdMIDI_OUT->isEnabled()) +
                   QString::number(test::Ui(app.window).cmdMIDI_IN->isEnabled()) +
                   QString::number(FindExportWindow(app.window)->cmdSendToMidi->isEnabled()) + ' ' +
                   test::Ui(app.window).StatusPanel[2]->text();
        };
        QCOMPARE(shown(), QStringLiteral("000 DEEPMIND NOT DETECTED"));

        QVERIFY(link.start({}));
        detector->DetectDeepMind();  // one tick
        QCOMPARE(shown(), QStringLiteral("111 DEEPMIND DETECTED"));
        QCOMPARE(app.midi.MidiOutDevice(), link.midi.MidiOutDevice());
        QCOMPARE(app.midi.MidiInDevice(), link.midi.MidiInDevice());

        link.sim.stop();
        if (foreign())
            QSKIP("another simulated DeepMind came up on the JACK server");
        detector->DetectDeepMind();
        QCOMPARE(shown(), QStringLiteral("000 DEEPMIND NOT DETECTED"));
        QVERIFY(app.prompter.shown.isEmpty());
    }

    void bytesOutsideTheExchangeAreLost() {
        Link link;
        QVERIFY(link.start({QStringLiteral("--fault"), QStringLiteral("late"),
                            QStringLiteral("--late-ms"), QStringLiteral("100")}));
        // The reply comes before the buffer is lent.
        link.midi.SendSysex(Request(1, 1));
        QTest::qWait(400);
        link.midi.OpenMidiIn();
        QTest::qWait(300);
        link.midi.CloseMidiInIfOpen();
        QCOMPARE(link.midi.BytesRecorded(), 0u);

        // The reply comes after the buffer was taken back.
        link.midi.OpenMidiIn();
        link.midi.SendSysex(Request(1, 2));
        link.midi.CloseMidiInIfOpen();
        QTest::qWait(400);
        QCOMPARE(link.midi.BytesRecorded(), 0u);

        // A reply in time, longer than a dump, is caught by the same connections up to 300 bytes.
        QVERIFY(link.start({QStringLiteral("--fault"), QStringLiteral("long")}));
        link.midi.OpenMidiIn();
        link.midi.SendSysex(Request(4, 9));
        QVERIFY(WaitUntil(
            2000, [&] { return link.midi.SysexComplete(); },
            [] { QCoreApplication::processEvents(); }));
        QTest::qWait(50);  // the rest of the long message has nowhere to go
        link.midi.CloseMidiInIfOpen();
        QCOMPARE(link.midi.MidiInIsOpen(), modMIDI::kClosed);
        const std::string caught = link.midi.MidiInBuffer();
        QCOMPARE(caught.size(), std::size_t(300));
        QCOMPARE(static_cast<unsigned char>(caught[0]), 0xF0);
        QCOMPARE(caught.substr(265, 9), std::string("SIM E-010"));
        QVERIFY(link.prompter.shown.isEmpty());
    }

    void missingPortIsReportedByName() {
        Link link;
        link.midi.SetMidiOutDevice(999);
        link.midi.SetMidiInDevice(999);
        link.midi.SendSysex(Request(0, 0));
        link.midi.OpenMidiIn();
        link.midi.CloseMidiInIfOpen();
        QVERIFY(!link.midi.MidiOutIsOpen() && !link.midi.MidiInIsOpen());
        const auto& shown = link.prompter.shown;
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")));
        QVERIFY(shown[1].text.startsWith(QStringLiteral("Operation: MIDI IN OPEN\r\n")));
        QVERIFY(shown[1].text.size() > 26);  // with the MIDI system's own text
    }
};

QTEST_MAIN(JackLinkTest)
#include "test_jacklink.moc"
