// The program over a JACK server with the simulated DeepMind, through the RtMidi ports and the
// main window's own commands: detection following the synth, what arrives in the synth's
// memory byte for byte, a long reply cut at the buffer, and how runs end when the synth goes
// away. Other simulators may share the server, so the test's own runs under a client name of
// its own.

#include <QtTest>

#include <QLabel>

#include "midi/JackRig.h"

using namespace zanq;
using test::At;

class JackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::JackRig> rig;
    test::MainRig* app = nullptr;

    Librarian& librarian() { return rig->librarian(); }
    QList<test::ShownPrompt>& shown() { return rig->shown(); }
    bool startSim(QStringList options = {}) { return rig->startSim(options); }

private slots:
    void initTestCase() { ZANQ_NEED_JACK_SERVER(); }
    void init() {
        rig = std::make_unique<test::JackRig>();
        app = rig->app.get();
    }
    void cleanup() { rig.reset(); }

    void detectionFollowsTheSimulator() {
        const auto shown = [&] {
            return QString::number(app->ui.cmdMIDI_OUT->isEnabled()) +
                   QString::number(app->ui.cmdMIDI_IN->isEnabled()) + ' ' +
                   app->ui.StatusPanel[2]->text();
        };
        QVERIFY(app->detect());
        if (shown() != QStringLiteral("00 DEEPMIND NOT DETECTED"))
            QSKIP("another simulated DeepMind is on the JACK server");
        QVERIFY(startSim());
        QCOMPARE(shown(), QStringLiteral("11 DEEPMIND DETECTED"));
        rig->sim.stop();
        QVERIFY(app->detect());
        if (shown() == QStringLiteral("11 DEEPMIND DETECTED"))
            QSKIP("another simulated DeepMind came up on the JACK server");
        QCOMPARE(shown(), QStringLiteral("00 DEEPMIND NOT DETECTED"));
        QVERIFY(app->prompter.shown.isEmpty());
    }

    void aLongReplyIsCutAndNotStored() {
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("long")}));
        QSignalSpy replies(app->link.get(), &MidiLink::replyReceived);
        test::DoubleClickCell(app->ui.FlexGrid1, At("E-10"));
        QVERIFY(replies.wait());
        const QByteArray reply = replies[0][2].toByteArray();
        QCOMPARE(reply.size(), 300);
        QCOMPARE(reply.mid(265, 9), QByteArray("SIM E-010"));
        QTRY_VERIFY(!app->link->requesting());
        QVERIFY(librarian().isEmpty(At("E-10")));
        QVERIFY(shown().isEmpty());
    }

    void synthVanishingMidRunEndsRunsWithMessages() {
        QVERIFY(startSim({QStringLiteral("--vanish-after"), QStringLiteral("3")}));
        auto* receiving = rig->open<frmMidiReceive>(app->ui.cmdMIDI_IN, {1});
        QVERIFY(receiving && rig->run(receiving->cmdMidiReceive));
        QVERIFY(rig->sim.waitForLine(QStringLiteral("vanished")));
        QCOMPARE(librarian().matrix().CountMatrixPatches(), 3);
        // A-004 went unanswered; asked again, the ports were gone.
        QCOMPARE(shown().size(), 3);
        QVERIFY(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI IN OPEN\r\n")));
        QCOMPARE(shown()[2].text, kNoMidiDataMessage);
        QVERIFY(receiving->lblRunSummary->text().startsWith(
            QStringLiteral("Stopped after A-004: the DeepMind stopped answering. Received 3 of "
                           "128. Not received: A-004")));
        receiving->close();

        // The synth's output port is gone too: the bank send says so once and stops.
        shown().clear();
        auto* send = rig->open<frmBankSend>(app->ui.cmdMIDI_OUT, {1});
        QVERIFY(send && rig->run(send->cmdMidiSend));
        QCOMPARE(send->cmdMidiSend->text(), QStringLiteral("SEND"));
        QCOMPARE(shown().size(), 1);
        QVERIFY2(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")),
                 qPrintable(shown()[0].text));

        // Both ports are gone: a double click says so for each, then that nothing came.
        shown().clear();
        test::DoubleClickCell(app->ui.FlexGrid1, At("H-1"));
        QTRY_COMPARE(shown().size(), 3);
        QVERIFY(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI IN OPEN\r\n")));
        QVERIFY(shown()[1].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")));
        QCOMPARE(shown()[2].text, kNoMidiDataMessage);
    }

    // A grid patch dropped on MIDI OUT goes only after Yes; an exported copy goes retargeted.
    void singlePatchesReachTheSynth() {
        QVERIFY(startSim());
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 4, 21);
        librarian().place(At("A-5"), pad);
        app->context.dragOrigin = At("A-5");
        app->prompter.answers << false << true;
        for (DragSource source :
             {DragSource::Grid, DragSource::Grid, DragSource::Library, DragSource::Files})
            emit app->window.droppedOnMidiOut(source);
        QTRY_COMPARE(rig->simSaid("stored"), QStringList{"stored A-005"});
        QCOMPARE(shown().size(), 2);  // library lines and files are not sent from here
        QCOMPARE(
            shown()[1].text,
            QStringLiteral("Do you want to send this matrix patch : \rBank A-005: Warm Pad ?"));
        QCOMPARE(shown()[1].title, QStringLiteral("Midi Send Patch"));
        QCOMPARE(shown()[1].icon, QMessageBox::Question);

        test::DoubleClickCell(app->ui.FlexGrid1, At("A-5"));
        frmExport* window = FindExportWindow(app->window);
        QVERIFY(window->isVisible() && window->cmdSendToMidi->isEnabled());
        window->cmbBank->setCurrentIndex(6);
        window->cmbPatch->setCurrentIndex(99);
        window->cmdSendToMidi->click();
        QTRY_COMPARE(rig->simSaid("stored"), QStringList({"stored A-005", "stored G-100"}));
        PatchRecord retargeted = pad;
        retargeted[8] = 6;
        retargeted[9] = 99;
        const QByteArray memory = rig->savedMemory();
        QCOMPARE(test::SlotOf(memory, At("A-5")), QByteArray::fromStdString(pad));
        QCOMPARE(test::SlotOf(memory, At("G-100")), QByteArray::fromStdString(retargeted));
        QVERIFY(librarian().at(At("A-5")) == pad && librarian().isEmpty(At("G-100")));
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(JackTest)
#include "test_jack.moc"
