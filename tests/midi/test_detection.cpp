// Detection of the DeepMind among fake port lists: the match rule, the port numbers it keeps,
// and what the main window shows.

#include <QtTest>

#include <QPushButton>

#include "midi/DeepMindDetector.h"
#include "midi/FakeMidiBackend.h"
#include "midi/InstallMidi.h"
#include "midi/PortMatch.h"
#include "midi/modMIDI.h"
#include "model/DeepMindDialect.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

class DetectionTest : public QObject {
    Q_OBJECT
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::ScriptedPrompter prompter;

private slots:
    void matchRule() {
        const auto find = [](const std::vector<std::string>& ports) {
            return int(FindDeepMindPort(ports).value_or(-1));  // -1: none
        };
        QCOMPARE(find({"DeepMind12"}), 0);
        QCOMPARE(find({"DEEPMIND 12 MIDI 1"}), 0);
        QCOMPARE(find({"x", "usb:dEePmInD-12:0 24:0"}), 1);
        QCOMPARE(find({"Deep Mind 12"}), -1);
        QCOMPARE(find({"Through", "DeepMind A", "DEEPMIND B"}), 1);
        QCOMPARE(find({}), -1);
    }

    void windowFollowsThePorts() {
        FakeMidiBackend ports;
        modMIDI midi(ports, prompter);
        AppContext context{librarian, prompter, QDir::tempPath()};
        context.midi = &midi;
        frmMain window(context);
        // MIDI OUT, MIDI IN and the panel, as one string.
        const auto shown = [&] {
            return QString::number(test::Ui(window).cmdMIDI_OUT->isEnabled()) +
                   QString::number(test::Ui(window).cmdMIDI_IN->isEnabled()) + ' ' +
                   test::Ui(window).StatusPanel[2]->text();
        };

        // No ports at all at start-up.
        InstallMidi(window, context);
        auto* detector = FindDeepMindDetector(window);
        QVERIFY(detector);
        QSignalSpy presence(detector, &DeepMindDetector::outputPresenceChanged);
        QCOMPARE(shown(), QStringLiteral("00 DEEPMIND NOT DETECTED"));

        // Both directions, each the first match after other ports.
        ports.outputs = {"Midi Through:0", "DeepMind12:out", "deepmind12-01:out"};
        ports.inputs = {"DeepMind12:in"};
        detector->DetectDeepMind();
        QCOMPARE(shown(), QStringLiteral("11 DEEPMIND DETECTED"));
        QCOMPARE(midi.MidiOutDevice(), 1u);
        QCOMPARE(midi.MidiInDevice(), 0u);
        QCOMPARE(presence.takeFirst().at(0).toBool(), true);

        // Output only: Send to DM stays on, no signal, the panel says not detected.
        ports.inputs = {"Midi Through:0", "Deep Mind 12"};
        detector->DetectDeepMind();
        QCOMPARE(shown(), QStringLiteral("10 DEEPMIND NOT DETECTED"));
        QVERIFY(presence.isEmpty());

        // Unplugged: everything off, the port numbers keep their last values.
        ports.outputs.clear();
        ports.inputs.clear();
        detector->DetectDeepMind();
        QCOMPARE(shown(), QStringLiteral("00 DEEPMIND NOT DETECTED"));
        QCOMPARE(midi.MidiOutDevice(), 1u);
        QCOMPARE(midi.MidiInDevice(), 0u);
        QCOMPARE(presence.takeFirst().at(0).toBool(), false);

        // The timer's tick runs detection, and closing the window closes what is open.
        ports.outputs = {"DeepMind12:out"};
        ports.inputs = {"DeepMind12:in"};
        test::Ui(window).Timer1->setInterval(1);
        QTRY_VERIFY(test::Ui(window).cmdMIDI_IN->isEnabled());
        midi.OpenMidiIn();
        window.close();
        QVERIFY(!ports.inputOpen());
        QCOMPARE(midi.MidiInIsOpen(), modMIDI::kClosed);
    }
};

QTEST_MAIN(DetectionTest)
#include "test_detection.moc"
