// Detection and the MIDI commands in the main window over fake ports with a synth behind them.

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "midi/VerifySetting.h"
#include "support/FakeMidiPorts.h"
#include "support/MainRig.h"

using namespace zanq;
using test::At;
using test::SlotRecord;

class TransfersTest : public QObject {
    Q_OBJECT
    test::FakeMidiPorts* ports = nullptr;  // owned by the rig's link
    std::unique_ptr<test::MainRig> rig;
    bool synthAnswers = true;
    QStringList captions;
    QPointer<QPushButton> watched;

    QList<test::ShownPrompt>& shown() { return rig->prompter.shown; }
    // MIDI OUT, MIDI IN and panel 3, as one string.
    QString detection() const {
        return QString::number(rig->ui.cmdMIDI_OUT->isEnabled()) +
               QString::number(rig->ui.cmdMIDI_IN->isEnabled()) + ' ' +
               rig->ui.StatusPanel[2]->text();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        SetVerifySends(false);  // a test that ticked Verify leaves it so, as a user would
        ports = new test::FakeMidiPorts;
        ports->setPorts({"Midi Through", "DeepMind12 MIDI in"}, {"DeepMind12 MIDI out"});
        synthAnswers = true;
        captions.clear();
        ports->onSend = [this](std::string_view m) {
            // The run's button while a message goes out: disabled, naming it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (watched)
                        captions << watched->text() + (watched->isEnabled() ? " (enabled)" : "");
                },
                Qt::BlockingQueuedConnection);
            if (synthAnswers && m.size() == 10)
                ports->deliver(SlotRecord({Bank::fromByte(m[7]), Program::fromByte(m[8])}));
        };
        rig =
            std::make_unique<test::MainRig>(test::kMidiWindows, std::unique_ptr<MidiPorts>(ports));
        QVERIFY(rig->detect());
    }
    void cleanup() { rig.reset(); }

    void windowFollowsThePorts() {
        QCOMPARE(detection(), QStringLiteral("11 DEEPMIND DETECTED"));
        // Both directions, each the first match after other ports.
        ports->setPorts({"Midi Through:0", "DeepMind12:out", "deepmind12-01:out"},
                        {"DeepMind12:in"});
        QVERIFY(rig->detect());
        QCOMPARE(rig->link->outputPort(), std::string("DeepMind12:out"));
        QCOMPARE(rig->link->inputPort(), std::string("DeepMind12:in"));
        // Output only: the panel says not detected.
        ports->setPorts({"DeepMind12:out"}, {"Midi Through:0", "Deep Mind 12"});
        QVERIFY(rig->detect());
        QCOMPARE(detection(), QStringLiteral("10 DEEPMIND NOT DETECTED"));
        // Unplugged: everything off, the link keeps the last ports it was given.
        ports->setPorts({}, {});
        QVERIFY(rig->detect());
        QCOMPARE(detection(), QStringLiteral("00 DEEPMIND NOT DETECTED"));
        QCOMPARE(rig->link->outputPort(), std::string("DeepMind12:out"));
        // The timer's tick runs detection.
        ports->setPorts({"DeepMind12:out"}, {"DeepMind12:in"});
        rig->ui.Timer1->start(1);
        QTRY_COMPARE(detection(), QStringLiteral("11 DEEPMIND DETECTED"));
    }

    void runsNameEachSlotOnTheirButtonAsTheyGo() {
        for (Slot s : {At(1, 6), At(1, 7), At(1, 128), At(2, 1), At(3, 17)})
            rig->librarian.place(s, SlotRecord(s));
        auto* sending = rig->opens<frmBankSend>(rig->ui.cmdMIDI_OUT);
        QVERIFY(sending);
        QPushButton* button = watched = sending->cmdMidiSend;
        QVERIFY(test::RunBanks(sending, button, {1, 3}));
        QCOMPARE(captions, QStringList({"Sending Bank A-006 ...", "Sending Bank A-007 ...",
                                        "Sending Bank A-128 ...", "Sending Bank C-017 ..."}));
        QCOMPARE(button->text(), QStringLiteral("SEND"));
        sending->close();

        captions.clear();
        auto* receiving = rig->opens<frmMidiReceive>(rig->ui.cmdMIDI_IN);
        QVERIFY(receiving);
        button = watched = receiving->cmdMidiReceive;
        QVERIFY(test::RunBanks(receiving, button, {2}));
        QCOMPARE(captions.size(), 128);
        QCOMPARE(captions.front(), QStringLiteral("RECEIVING Bank B - 001"));
        QCOMPARE(captions.back(), QStringLiteral("RECEIVING Bank B - 128"));
        QVERIFY(shown().isEmpty());

        // Nothing comes: one message, and the window says what happened in text to copy.
        synthAnswers = false;
        QVERIFY(test::RunBanks(receiving, button, {1}));
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(button->text(), QStringLiteral("RECEIVE"));
        QVERIFY(receiving->lblRunSummary->text().startsWith("Stopped after A-002"));
        receiving->txtRunReport->selectAll();
        receiving->txtRunReport->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("A-001 to A-002: no reply\nA-003 to B-128: not requested"));
    }

    void closingASendWindowStopsTheRun() {
        for (int p = 1; p <= 20; ++p)
            rig->librarian.place(At(1, p), SlotRecord(At(1, p)));
        QPointer<frmBankSend> window = rig->opens<frmBankSend>(rig->ui.cmdMIDI_OUT);
        QVERIFY(window);
        ports->onSend = [window](std::string_view) {  // posted before the send's own result
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        };
        window->chkBank[1]->setChecked(true);
        window->cmdMidiSend->click();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(ports->sent().size(), std::size_t(1));

        // Closed while the patches are read back: no request after the one under way.
        window = rig->opens<frmBankSend>(rig->ui.cmdMIDI_OUT);
        ports->onSend = [window](std::string_view m) {
            if (m.size() == 10)
                QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        };
        window->chkBank[1]->setChecked(true);
        window->chkVerify->setChecked(true);
        window->cmdMidiSend->click();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(ports->sent().size(), std::size_t(1 + 20 + 1));
    }

    void doubleClickFetchesAnEmptySlotOrSaysNothingCame() {
        test::DoubleClickCell(rig->ui.FlexGrid1, At(5, 10));
        QTRY_VERIFY(rig->librarian.at(At(5, 10)) == SlotRecord(At(5, 10)));
        QVERIFY(!FindExportWindow(rig->window));  // nothing to export: never opened

        synthAnswers = false;
        test::DoubleClickCell(rig->ui.FlexGrid1, At(5, 11));
        QTRY_COMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].icon, QMessageBox::Information);
        QVERIFY(rig->librarian.isEmpty(At(5, 11)));
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
