// Detection in the main window over fake ports: the ports it hands the link, what the window
// shows, and the timer's tick.

#include <QtTest>

#include "shell/ClickableLabel.h"
#include "support/FakeMidiPorts.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;

class DetectionTest : public QObject {
    Q_OBJECT

    // MIDI OUT, MIDI IN and panel 3, as one string.
    static QString Shown(frmMain& window) {
        return QString::number(test::Ui(window).cmdMIDI_OUT->isEnabled()) +
               QString::number(test::Ui(window).cmdMIDI_IN->isEnabled()) + ' ' +
               test::Ui(window).StatusPanel[2]->text();
    }

private slots:
    void windowFollowsThePorts() {
        auto* ports = new test::FakeMidiPorts;
        test::WiredMain app(std::unique_ptr<MidiPorts>(ports), QDir::tempPath());
        QVERIFY(app.detect());
        QCOMPARE(Shown(app.window), QStringLiteral("00 DEEPMIND NOT DETECTED"));

        // Both directions, each the first match after other ports.
        ports->setPorts({"Midi Through:0", "DeepMind12:out", "deepmind12-01:out"},
                        {"DeepMind12:in"});
        QVERIFY(app.detect());
        QCOMPARE(Shown(app.window), QStringLiteral("11 DEEPMIND DETECTED"));
        QCOMPARE(app.link.outputPort(), std::string("DeepMind12:out"));
        QCOMPARE(app.link.inputPort(), std::string("DeepMind12:in"));

        // Output only: the panel says not detected.
        ports->setPorts({"DeepMind12:out"}, {"Midi Through:0", "Deep Mind 12"});
        QVERIFY(app.detect());
        QCOMPARE(Shown(app.window), QStringLiteral("10 DEEPMIND NOT DETECTED"));

        // Unplugged: everything off, the link keeps the last ports it was given.
        ports->setPorts({}, {});
        QVERIFY(app.detect());
        QCOMPARE(Shown(app.window), QStringLiteral("00 DEEPMIND NOT DETECTED"));
        QCOMPARE(app.link.outputPort(), std::string("DeepMind12:out"));

        // The timer's tick runs detection.
        ports->setPorts({"DeepMind12:out"}, {"DeepMind12:in"});
        test::Ui(app.window).Timer1->start(1);
        QTRY_COMPARE(Shown(app.window), QStringLiteral("11 DEEPMIND DETECTED"));
    }
};

QTEST_MAIN(DetectionTest)
#include "test_detection.moc"
