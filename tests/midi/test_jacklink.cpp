// End to end over a JACK server with the simulated DeepMind: detection follows it, records
// reach it whole, requests are answered into the input buffer, and the buffer's rules hold.
// Other simulators may share the server, so the test's own runs under a client name of its own.

#include <QtTest>

#include <QPushButton>
#include <QTemporaryDir>

#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/PortMatch.h"
#include "midi/RtMidiBackend.h"
#include "midi/modMIDI.h"
#include "midi/modSleep.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/DeepMindSim.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {

std::string Request(int bank, int program) {
    return std::string("\xF0\x00\x20\x32\x20\x00\x01", 7) + char(bank) + char(program) + '\xF7';
}

// The test's simulator, under a client name of its own, and the layer talking to it.
struct Link {
    const std::string client =
        "DeepMind12-test" + std::to_string(QCoreApplication::applicationPid());
    test::DeepMindSim sim;
    RtMidiBackend ports{"ZANQ Test"};
    test::ScriptedPrompter prompter;
    modMIDI midi{ports, prompter};

    // The number of our simulator's port among these; past the end when it is missing.
    std::uint32_t portOf(const std::vector<std::string>& names, const std::string& port) const {
        const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
            return name.find(client + port) != std::string::npos;
        });
        return std::uint32_t(it - names.begin());
    }
    // Starts the simulator and, when asked, points the layer at its ports as detection would.
    bool start(const QStringList& options = {}, bool aim = true) {
        if (!sim.start(QStringList{"--client", QString::fromStdString(client)} + options))
            return false;
        if (aim) {
            midi.SetMidiOutDevice(portOf(ports.outputPortNames(), " MIDI in"));
            midi.SetMidiInDevice(portOf(ports.inputPortNames(), " MIDI out"));
        }
        return true;
    }
    // One request sent inside an exchange; true when a whole reply came.
    bool exchange(const std::string& request) {
        midi.OpenMidiIn();
        midi.SendSysex(request);
        const bool replied = WaitUntil(
            2000, [&] { return midi.SysexComplete(); }, [] { QCoreApplication::processEvents(); });
        QTest::qWait(50);  // the rest of a long message has nowhere to go
        midi.CloseMidiInIfOpen();
        return replied;
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
        PatchStores stores;
        AppContext context{stores, link.prompter, QDir::tempPath()};
        context.midi = &link.midi;
        frmMain window(context);
        window.Timer1->stop();
        InstallMidi(window, context);
        auto* detector = FindDeepMindDetector(window);
        const auto shown = [&] {
            return QString::number(window.cmdMIDI_OUT->isEnabled()) +
                   QString::number(window.cmdMIDI_IN->isEnabled()) + ' ' +
                   window.StatusPanel[2]->text();
        };
        QCOMPARE(shown(), QStringLiteral("00 DEEPMIND NOT DETECTED"));

        QVERIFY(link.start({}, false));
        detector->DetectDeepMind();  // one tick
        QCOMPARE(shown(), QStringLiteral("11 DEEPMIND DETECTED"));
        QCOMPARE(link.midi.MidiOutDevice(), link.portOf(link.ports.outputPortNames(), " MIDI in"));
        QCOMPARE(link.midi.MidiInDevice(), link.portOf(link.ports.inputPortNames(), " MIDI out"));

        link.sim.stop();
        if (foreign())
            QSKIP("another simulated DeepMind came up on the JACK server");
        detector->DetectDeepMind();
        QCOMPARE(shown(), QStringLiteral("00 DEEPMIND NOT DETECTED"));
        QVERIFY(link.prompter.shown.isEmpty());
    }

    void fastRunArrivesByteForByte() {
        QTemporaryDir dir;
        const QString memory = dir.filePath(QStringLiteral("memory.syx"));
        Link link;
        QVERIFY(link.start({QStringLiteral("--save"), memory}));
        QByteArray sent;
        for (int p = 0; p < kSlots; ++p) {
            const PatchRecord record =
                test::MakeRecord("Run " + std::to_string(p), 3, p, p * 5 + 1);
            link.midi.SendSysex(record);
            sent += QByteArray::fromStdString(record);
        }
        QVERIFY(link.prompter.shown.isEmpty());
        QCOMPARE(link.midi.MidiOutIsOpen(), modMIDI::kClosed);
        QTRY_COMPARE_WITH_TIMEOUT(link.sim.lines().filter(QStringLiteral("stored D-")).size(),
                                  kSlots, 10000);
        QVERIFY(link.sim.lines().filter(QStringLiteral("ignored")).isEmpty());
        QVERIFY(link.sim.save());
        QFile file(memory);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        QCOMPARE(all.size(), qsizetype(8 * 128 * 291));
        QVERIFY(all.mid(3 * 128 * 291, 128 * 291) == sent);  // bank D, every byte
    }

    void requestIsAnsweredIntoTheBuffer() {
        Link link;
        QVERIFY(link.start());
        for (auto [bank, program] : {std::pair{2, 5}, std::pair{7, 127}, std::pair{0, 0}}) {
            QVERIFY(link.exchange(Request(bank, program)));
            QCOMPARE(link.midi.MidiInIsOpen(), modMIDI::kClosed);
            const std::string reply = link.midi.MidiInBuffer();
            QCOMPARE(reply.size(), std::size_t(291));
            QVERIFY(IsValidRecord(reply));
            QCOMPARE(GetBankByte(reply), bank);
            QCOMPARE(GetProgramByte(reply), program);
        }
        QVERIFY(link.prompter.shown.isEmpty());
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
        QVERIFY(link.exchange(Request(4, 9)));
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
