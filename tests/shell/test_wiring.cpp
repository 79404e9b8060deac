// The subsystems meet only through the main window's signals and the Librarian, so whatever
// order they are installed in, each command still reaches the one that owns it.

#include <QtTest>

#include "banktools/BankTools.h"
#include "editing/InstallEditing.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "support/FakeMidiPorts.h"
#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

using namespace zanq;
using test::At;

namespace {
void Midi(frmMain& window, AppContext& context) {
    InstallMidi(window, context);
}
const test::Install kSubsystems[] = {InstallSysexFiles,    InstallBankTools, InstallEditing, Midi,
                                     InstallMidiTransfers, InstallExport};

// A whole program over fake ports with a synth on them, its subsystems installed in the order
// given as indices into kSubsystems.
struct WholeProgram : test::MainRig {
    test::FakeMidiPorts* ports;  // owned by the link

    explicit WholeProgram(const QString& order, test::FakeMidiPorts* fake = new test::FakeMidiPorts)
        : MainRig({}, std::unique_ptr<MidiPorts>(fake)), ports(fake) {
        ports->setPorts({"DeepMind12 MIDI in"}, {"DeepMind12 MIDI out"});
        for (QChar index : order)
            kSubsystems[index.digitValue()](window, context);
        window.show();
    }
    void pressOn(Slot slot) {
        const QPoint at = ui.FlexGrid1->visualRect(ui.gridModel->indexOf(slot)).center();
        QTest::mousePress(ui.FlexGrid1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(ui.FlexGrid1->viewport(), Qt::LeftButton, {}, at);
    }
};
}  // namespace

class WiringTest : public QObject {
    Q_OBJECT
private slots:
    void anyInstallOrderWorks_data() {
        QTest::addColumn<QString>("order");
        QTest::newRow("as the program does") << "012345";
        QTest::newRow("reversed") << "543210";
        QTest::newRow("rotated") << "321054";
    }
    void anyInstallOrderWorks() {
        QFETCH(QString, order);
        WholeProgram p(order);
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        const PatchRecord pad = test::MakeRecord("Pad", 0, 4, 7);
        p.librarian.apply(pad, LoadTarget::Matrix);

        // A grid patch dropped on MIDI OUT reaches the MIDI link, after its question.
        p.pressOn(At("A-5"));
        p.prompter.answers << true;
        emit p.window.droppedOnMidiOut(DragSource::Grid);
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(1));
        QCOMPARE(p.ports->sent()[0].bytes, pad);

        // A double click on an empty slot asks the synth for it; on a filled one it opens Export
        // Patch, whose send button follows detection.
        emit p.window.emptySlotDoubleClicked(At("H-128"));
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(2));
        QCOMPARE(p.ports->sent()[1].bytes, p.dialect.programDumpRequest(At("H-128")));
        emit p.window.filledSlotDoubleClicked(At("A-5"));
        frmExport* exporter = FindExportWindow(p.window);
        QVERIFY(exporter->isVisible());
        QTRY_VERIFY(exporter->cmdSendToMidi->isEnabled());  // once detection has run
        exporter->close();

        // A file dropped on the grid is loaded by the file browser; the grid shows it.
        p.write("one.syx", test::MakeRecord("Filed", 2, 9));
        p.select("one.syx");
        emit p.window.droppedOnGrid(DragSource::Files, At("A-1"));
        QCOMPARE(p.ui.gridModel->cellText(At("C-10")), QStringLiteral("Filed"));

        // Writing a file tells the file list.
        p.window.announceFilesChanged();
        QCOMPARE(p.files()->fileCount(), 1);
        QVERIFY(!p.files()->hasSelectedFile());
    }
};

QTEST_MAIN(WiringTest)
#include "test_wiring.moc"
