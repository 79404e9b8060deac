// Detection of the DeepMind among fake port lists: the match rule, the port numbers it keeps,
// and what the main window shows.

#include <QtTest>

#include <QPushButton>
#include <QSignalSpy>

#include "midi/DeepMindDetector.h"
#include "midi/FakeMidiBackend.h"
#include "midi/InstallMidi.h"
#include "midi/PortMatch.h"
#include "midi/modMIDI.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

class DetectionTest : public QObject {
    Q_OBJECT
    PatchStores stores;
    test::ScriptedPrompter prompter;

private slots:
    void matchRule_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("plain") << "DeepMind12" << true;
        QTest::newRow("capitals") << "DEEPMIND 12 MIDI 1" << true;
        QTest::newRow("small letters mixed") << "usb:dEePmInD" << true;
        QTest::newRow("inside a longer name") << "Behringer-deepmind12:port 0 24:0" << true;
        QTest::newRow("split by a space") << "Deep Mind 12" << false;
        QTest::newRow("other synth") << "Midi Through Port-0" << false;
        QTest::newRow("empty") << "" << false;
    }
    void matchRule() {
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(IsDeepMindPortName(name.toStdString()), matches);
    }

    void firstMatchInPortOrderWins() {
        QCOMPARE(FindDeepMindPort({"Through", "DeepMind12 A", "DEEPMIND12 B"}),
                 std::optional<std::uint32_t>(1));
        QCOMPARE(FindDeepMindPort({"Through", "Deep Mind"}), std::nullopt);
        QCOMPARE(FindDeepMindPort({}), std::nullopt);
    }

    void windowFollowsThePorts() {
        FakeMidiBackend ports;
        modMIDI midi(ports, prompter);
        AppContext context{stores, prompter, QDir::tempPath()};
        context.midi = &midi;
        frmMain window(context);

        // No ports at all at start-up.
        InstallMidi(window, context);
        auto* detector = FindDeepMindDetector(window);
        QVERIFY(detector);
        QSignalSpy presence(detector, &DeepMindDetector::outputPresenceChanged);
        QVERIFY(!window.cmdMIDI_OUT->isEnabled());
        QVERIFY(!window.cmdMIDI_IN->isEnabled());
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        QVERIFY(!detector->outputFound());

        // Both directions present, each the second of two matches or after other ports.
        ports.outputs = {"Midi Through:0", "DeepMind12:out", "deepmind12-01:out"};
        ports.inputs = {"DeepMind12:in"};
        detector->DetectDeepMind();
        QVERIFY(window.cmdMIDI_OUT->isEnabled());
        QVERIFY(window.cmdMIDI_IN->isEnabled());
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND DETECTED"));
        QCOMPARE(midi.MidiOutDevice(), 1u);
        QCOMPARE(midi.MidiInDevice(), 0u);
        QCOMPARE(presence.size(), 1);
        QCOMPARE(presence.takeFirst().at(0).toBool(), true);

        // Only the output left: Send to DM stays on, MIDI IN goes off, the panel says not detected.
        ports.inputs = {"Midi Through:0", "Deep Mind 12"};
        detector->DetectDeepMind();
        QVERIFY(window.cmdMIDI_OUT->isEnabled());
        QVERIFY(!window.cmdMIDI_IN->isEnabled());
        QCOMPARE(window.StatusPanel[2]->text(), QStringLiteral("DEEPMIND NOT DETECTED"));
        QVERIFY(presence.isEmpty());

        // Unplugged: everything off, the port numbers keep their last values.
        ports.outputs.clear();
        ports.inputs.clear();
        detector->DetectDeepMind();
        QVERIFY(!window.cmdMIDI_OUT->isEnabled());
        QVERIFY(!window.cmdMIDI_IN->isEnabled());
        QCOMPARE(midi.MidiOutDevice(), 1u);
        QCOMPARE(midi.MidiInDevice(), 0u);
        QCOMPARE(presence.size(), 1);
        QCOMPARE(presence.takeFirst().at(0).toBool(), false);

        // The timer's tick runs detection, and closing the window closes what is open.
        ports.outputs = {"DeepMind12:out"};
        ports.inputs = {"DeepMind12:in"};
        window.Timer1->setInterval(1);
        QTRY_VERIFY(window.cmdMIDI_IN->isEnabled());
        midi.OpenMidiIn();
        QVERIFY(ports.inputOpen());
        window.close();
        QVERIFY(!ports.inputOpen());
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
    }

    void withoutMidiNothingIsInstalled() {
        AppContext context{stores, prompter, QDir::tempPath()};
        frmMain window(context);
        InstallMidi(window, context);
        QVERIFY(!FindDeepMindDetector(window));
    }
};

QTEST_MAIN(DetectionTest)
#include "test_detection.moc"
