// Bank runs against a simulated DeepMind that misbehaves, through the run windows: what the
// window's report says must be what really reached the Matrix or the synth. Replies garbled
// or dropped, two programs in a row unanswered, patches the synth does not keep, the synth
// going away in the middle of a send or a receive, and coming back.

#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "midi/JackRig.h"
#include "midi/VerifySetting.h"

using namespace zanq;
using test::At;

namespace {

QStringList Slots(const QStringList& lines) {
    QStringList names;
    for (const QString& line : lines)
        names << line.section(QLatin1Char(' '), 1);
    return names;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::JackRig> rig;

    // The report a run window shows: its summary, then its list.
    static QStringList shownReport(BankRunDialog* window) {
        QStringList lines{window->lblRunSummary->text()};
        const QString list = window->txtRunReport->toPlainText();
        if (!list.isEmpty())
            lines << list.split(QLatin1Char('\n'));
        return lines;
    }
    frmMidiReceive* receive(std::initializer_list<int> banks) {
        auto* window = rig->open<frmMidiReceive>(rig->app->ui.cmdMIDI_IN, banks);
        return window && rig->run(window->cmdMidiReceive) ? window : nullptr;
    }
    frmBankSend* send(std::initializer_list<int> banks, bool verify = false) {
        auto* window = rig->open<frmBankSend>(rig->app->ui.cmdMIDI_OUT, banks);
        if (!window)
            return nullptr;
        window->chkVerify->setChecked(verify);
        return rig->run(window->cmdMidiSend) ? window : nullptr;
    }

private slots:
    void initTestCase() {
        ZANQ_NEED_JACK_SERVER();
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() {
        SetVerifySends(false);
        rig = std::make_unique<test::JackRig>();
    }
    void cleanup() { rig.reset(); }

    void garbledAndDroppedRepliesAreAskedForAgain() {
        QVERIFY(rig->startSim({"--garble-every", "5", "--drop-replies", "40"}));
        auto* window = receive({2});
        QVERIFY(window);
        QCOMPARE(shownReport(window), QStringList{"Received 128 of 128"});
        QCOMPARE(rig->librarian().matrix().CountBankPatches(Bank::fromNumber(2)), 128);
        QVERIFY(rig->simSaid("garbled").size() >= 25);
        QCOMPARE(rig->simSaid("dropped").size(), 1);
        QVERIFY(rig->shown().isEmpty());

        // Asked only once, the garbled ones are missing; the report names exactly those.
        rig->librarian().clear({Bank::fromNumber(3)}, false);
        BankReceiveRun once(*rig->app->link, rig->librarian(), {Bank::fromNumber(3)});
        once.setAttempts(1);
        QSignalSpy finished(&once, &BankRun::finished);
        const qsizetype before = rig->simSaid("garbled").size();
        QVERIFY(once.start() && finished.wait(20000));
        const QStringList garbled = Slots(rig->simSaid("garbled").mid(before));
        QVERIFY(garbled.size() >= 25);
        QCOMPARE(once.report().done(), 128 - garbled.size());
        QStringList listed;
        for (const QString& line : once.report().details())
            listed << line.section(QLatin1Char(':'), 0, 0);
        QCOMPARE(listed, garbled);
        for (const QString& slot : garbled)
            QVERIFY(rig->librarian().isEmpty(At(slot.toStdString())));
    }

    void twoUnansweredProgramsInARowEndTheReceive() {
        QVERIFY(rig->startSim({"--drop-replies", "7,8,9,10"}));
        const PatchRecord kept = test::MakeRecord("Kept", 0, 7, 1);
        rig->librarian().place(At("A-8"), kept);
        auto* window = receive({1, 2});
        QVERIFY(window);
        QCOMPARE(shownReport(window),
                 QStringList({"Stopped after A-008: the DeepMind stopped answering. Received 6 "
                              "of 256. Not received: A-007 to A-008",
                              "A-007 to A-008: no reply", "A-009 to B-128: not requested"}));
        QVERIFY(rig->librarian().at(At("A-8")) == kept);
        QCOMPARE(rig->librarian().matrix().CountMatrixPatches(), 7);
        QCOMPARE(rig->shown().size(), 1);
        QCOMPARE(rig->shown()[0].text, kNoMidiDataMessage);
    }

    void aVerifiedSendNamesThePatchesTheSynthDidNotKeep() {
        QVERIFY(rig->startSim({"--refuse-dumps", "5,6"}));
        rig->fill({3});
        auto* window = send({3}, true);
        QVERIFY(window);
        QCOMPARE(shownReport(window),
                 QStringList({"Sent 128 patches to the DeepMind. Read back: 126 of 128 matched. "
                              "Did not match: C-005 to C-006",
                              "C-005 to C-006: read back different"}));
        QVERIFY(VerifySends());  // the box's state is the setting the single sends follow

        // Export's "Send to DM" reads back too.
        rig->app->context.dragOrigin = At("C-10");
        test::DoubleClickCell(rig->app->ui.FlexGrid1, At("C-10"));
        frmExport* exporter = FindExportWindow(rig->app->window);
        QVERIFY(exporter->isVisible() && exporter->chkVerify->isChecked());
        exporter->cmbPatch->setCurrentIndex(19);
        exporter->cmdSendToMidi->click();
        QTRY_COMPARE(rig->shown().size(), 1);
        QCOMPARE(rig->shown()[0].text,
                 QStringLiteral("Sent 1 patch to the DeepMind. Read back: 1 of 1 matched"));
        const PatchRecord sent =
            rig->librarian().dialect().retarget(rig->librarian().at(At("C-10")), At("C-20"));
        QCOMPARE(test::SlotOf(rig->savedMemory(), At("C-20")), QByteArray::fromStdString(sent));
    }

    void aSynthGoingAwayStopsTheSendAndComingBackGetsEveryPatch() {
        QVERIFY(rig->startSim({"--vanish-after-dumps", "512"}));
        rig->fill({1, 2, 3, 4, 5, 6, 7, 8});
        auto* window = send({1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(window);
        QVERIFY(rig->sim.waitForLine(QStringLiteral("vanished")));
        const QStringList report = shownReport(window);
        QVERIFY2(report[0].startsWith(QStringLiteral("Stopped after ")), qPrintable(report[0]));
        QVERIFY2(report.last().endsWith(QStringLiteral(" to H-128: not sent")),
                 qPrintable(report.last()));
        // Nothing the synth stored is missing from what the report calls sent.
        const QString last = report[0].mid(14, 5);
        QCOMPARE(rig->simSaid("stored").last(), QStringLiteral("stored D-128"));
        QVERIFY2(At(last.toStdString()) >= At("D-128"), qPrintable(report[0]));
        QVERIFY(!rig->shown().isEmpty());
        QPointer<frmBankSend> closed = window;
        window->close();
        QTRY_VERIFY(closed.isNull());

        // Plugged in again: the next send delivers every patch, the first one included.
        rig->shown().clear();
        QVERIFY(rig->startSim());
        window = send({8});
        QVERIFY(window);
        QCOMPARE(shownReport(window), QStringList{"Sent 128 patches to the DeepMind"});
        QTRY_COMPARE(rig->simSaid("stored").size(), 128);
        QCOMPARE(rig->simSaid("stored").first(), QStringLiteral("stored H-001"));
        const QByteArray memory = rig->savedMemory();
        for (int p = 1; p <= Program::kCount; ++p)
            QCOMPARE(test::SlotOf(memory, At(8, p)),
                     QByteArray::fromStdString(rig->librarian().at(At(8, p))));
        QVERIFY(rig->shown().isEmpty());
    }
};

QTEST_MAIN(FaultsTest)
#include "test_faults.moc"
