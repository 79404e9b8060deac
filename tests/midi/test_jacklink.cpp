// End to end over a JACK server with the simulated DeepMind: detection follows it, records
// reach it whole, requests are answered into the input buffer, and the buffer's rules hold.

#include <QtTest>

#include <QFile>
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
    std::string r("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
    r[7] = static_cast<char>(bank);
    r[8] = static_cast<char>(program);
    return r;
}

// Points the layer at the simulator's ports, as detection would.
bool Aim(RtMidiBackend& ports, modMIDI& midi) {
    const auto out = FindDeepMindPort(ports.outputPortNames());
    const auto in = FindDeepMindPort(ports.inputPortNames());
    if (!out || !in)
        return false;
    midi.SetMidiOutDevice(*out);
    midi.SetMidiInDevice(*in);
    return true;
}

bool WaitForReply(modMIDI& midi, int ms = 2000) {
    return WaitUntil(
        ms, [&] { return midi.SysexComplete(); }, [] { QCoreApplication::processEvents(); });
}

}  // namespace

class JackLinkTest : public QObject {
    Q_OBJECT
    PatchStores stores;
    test::ScriptedPrompter prompter;

private slots:
    void initTestCase() {
        if (!test::DeepMindSim::JackServerRunning())
            QSKIP("needs a running JACK server; test.sh starts one");
    }

    void init() { prompter.shown.clear(); }

    void detectionFollowsTheSimulator() {
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        AppContext context{stores, prompter, QDir::tempPath()};
        context.midi = &midi;
        frmMain window(context);
        window.Timer1->stop();
        InstallMidi(window, context);
        auto* detector = FindDeepMindDetector(window);
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        QVERIFY(!window.cmdMIDI_OUT->isEnabled());
        for (const auto& name : ports.outputPortNames())
            QVERIFY2(name.rfind("ZANQ Test", 0) != 0, name.c_str());  // never our own ports

        test::DeepMindSim sim;
        QVERIFY(sim.start());
        detector->DetectDeepMind();  // one tick
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND DETECTED"));
        QVERIFY(window.cmdMIDI_OUT->isEnabled());
        QVERIFY(window.cmdMIDI_IN->isEnabled());
        QVERIFY(detector->outputFound());
        QVERIFY(ports.outputPortNames().at(midi.MidiOutDevice()).find("DeepMind12 MIDI in") !=
                std::string::npos);
        QVERIFY(ports.inputPortNames().at(midi.MidiInDevice()).find("DeepMind12 MIDI out") !=
                std::string::npos);

        sim.stop();
        detector->DetectDeepMind();
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        QVERIFY(!window.cmdMIDI_OUT->isEnabled());
        QVERIFY(!window.cmdMIDI_IN->isEnabled());
        QVERIFY(prompter.shown.isEmpty());
    }

    void fastRunArrivesByteForByte() {
        QTemporaryDir dir;
        const QString memory = dir.filePath(QStringLiteral("memory.syx"));
        test::DeepMindSim sim;
        QVERIFY(sim.start({QStringLiteral("--save"), memory}));
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        QVERIFY(Aim(ports, midi));

        std::vector<PatchRecord> sent;
        for (int p = 0; p < kSlots; ++p) {
            sent.push_back(test::MakeRecord("Run " + std::to_string(p), 3, p, p * 5 + 1));
            midi.SendSysex(sent.back());
        }
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kClosed);
        QTRY_COMPARE_WITH_TIMEOUT(sim.lines().filter(QStringLiteral("stored D-")).size(), kSlots,
                                  10000);
        QVERIFY(sim.lines().filter(QStringLiteral("ignored")).isEmpty());
        QVERIFY(sim.save());
        QFile file(memory);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        QCOMPARE(all.size(), qsizetype(8 * 128 * 291));
        for (int p = 0; p < kSlots; ++p) {
            const QByteArray slot = all.mid((3 * 128 + p) * 291, 291);
            QVERIFY2(slot == QByteArray::fromStdString(sent[static_cast<std::size_t>(p)]),
                     qPrintable(QStringLiteral("program %1").arg(p)));
        }
    }

    void requestIsAnsweredIntoTheBuffer() {
        test::DeepMindSim sim;
        QVERIFY(sim.start());
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        QVERIFY(Aim(ports, midi));
        for (auto [bank, program] : {std::pair{2, 5}, std::pair{7, 127}, std::pair{0, 0}}) {
            midi.OpenMidiIn();
            QCOMPARE(midi.MidiInIsOpen(), modMIDI::kOpen);
            midi.SendSysex(Request(bank, program));
            QVERIFY(WaitForReply(midi));
            midi.CloseMidiInIfOpen();
            QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
            const std::string reply = midi.MidiInBuffer();
            QCOMPARE(midi.BytesRecorded(), 291u);
            QVERIFY(IsValidRecord(reply));
            QCOMPARE(GetBankByte(reply), bank);
            QCOMPARE(GetProgramByte(reply), program);
            QCOMPARE(QString::fromStdString(GetPatchName(reply)).trimmed(),
                     QStringLiteral("SIM %1-%2")
                         .arg(QChar('A' + bank))
                         .arg(program + 1, 3, 10, QChar('0')));
        }
        QVERIFY(prompter.shown.isEmpty());
    }

    void bytesOutsideTheExchangeAreLost() {
        test::DeepMindSim sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("late"),
                           QStringLiteral("--late-ms"), QStringLiteral("100")}));
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        QVERIFY(Aim(ports, midi));

        // The reply comes before the buffer is lent.
        midi.SendSysex(Request(1, 1));
        QTest::qWait(400);
        midi.OpenMidiIn();
        QVERIFY(!WaitForReply(midi, 300));
        midi.CloseMidiInIfOpen();
        QCOMPARE(midi.BytesRecorded(), 0u);

        // The reply comes after the buffer was taken back.
        midi.OpenMidiIn();
        midi.SendSysex(Request(1, 2));
        midi.CloseMidiInIfOpen();
        QTest::qWait(400);
        QCOMPARE(midi.BytesRecorded(), 0u);
        QVERIFY(!midi.SysexComplete());

        // And a reply in time is caught by the same connections.
        sim.stop();
        QVERIFY(sim.start());
        QVERIFY(Aim(ports, midi));
        midi.OpenMidiIn();
        midi.SendSysex(Request(1, 3));
        QVERIFY(WaitForReply(midi));
        midi.CloseMidiInIfOpen();
        QCOMPARE(midi.BytesRecorded(), 291u);
        QVERIFY(prompter.shown.isEmpty());
    }

    void longReplyIsCutAt300Bytes() {
        test::DeepMindSim sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("long")}));
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        QVERIFY(Aim(ports, midi));
        midi.OpenMidiIn();
        midi.SendSysex(Request(4, 9));
        QVERIFY(WaitForReply(midi));
        QTest::qWait(50);  // the rest of the message has nowhere to go
        midi.CloseMidiInIfOpen();
        QCOMPARE(midi.BytesRecorded(), 300u);
        const std::string caught = midi.MidiInBuffer();
        QCOMPARE(static_cast<unsigned char>(caught[0]), 0xF0);
        QCOMPARE(caught.substr(265, 9), std::string("SIM E-010"));
    }

    void missingPortIsReportedByName() {
        RtMidiBackend ports("ZANQ Test");
        modMIDI midi(ports, prompter);
        midi.SetMidiOutDevice(999);
        midi.SetMidiInDevice(999);
        midi.SendSysex(Request(0, 0));
        midi.OpenMidiIn();
        midi.CloseMidiInIfOpen();
        QCOMPARE(midi.MidiOutIsOpen(), modMIDI::kClosed);
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
        QCOMPARE(prompter.shown.size(), 2);
        QVERIFY(prompter.shown[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")));
        QVERIFY(prompter.shown[1].text.startsWith(QStringLiteral("Operation: MIDI IN OPEN\r\n")));
        QVERIFY(prompter.shown[1].text.size() > 26);
    }
};

QTEST_MAIN(JackLinkTest)
#include "test_jacklink.moc"
