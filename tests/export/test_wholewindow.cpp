// The whole window over fake MIDI ports: commands reach their owners in any install order; the
// Export Patch window's opening, files, names and sends.

#include <QtTest>

#include <QLineEdit>

#include "banktools/BankTools.h"
#include "editing/InstallEditing.h"
#include "model/LibraryListWidget.h"
#include "support/FakeMidiPorts.h"
#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
void Midi(frmMain& window, AppContext& context) {
    InstallMidi(window, context);
}
const test::Install kSubsystems[] = {InstallSysexFiles,    InstallBankTools, InstallEditing, Midi,
                                     InstallMidiTransfers, InstallExport};

// The subsystems installed in the order given as indices into kSubsystems.
struct WholeProgram : test::MainRig {
    test::FakeMidiPorts* ports;  // owned by the link

    explicit WholeProgram(const QString& order = "012345",
                          test::FakeMidiPorts* fake = new test::FakeMidiPorts)
        : MainRig({}, std::unique_ptr<MidiPorts>(fake)), ports(fake) {
        ports->setPorts({"DeepMind12 MIDI in"}, {"DeepMind12 MIDI out"});
        for (QChar index : order)
            kSubsystems[index.digitValue()](window, context);
        // Export's folder sits two levels inside the scratch folder, so that a name that climbs
        // out of it stays inside the scratch folder.
        context.programFolder = dir.filePath("deep/program");
        QDir().mkpath(context.programFolder);
        window.show();
    }
    // Made on the first double click that opens it; null before.
    frmExport* exporter() const { return FindExportWindow(window); }
    QStringList exported() const {
        return QDir(context.programFolder).entryList(QDir::Files | QDir::Hidden);
    }
    QByteArray written(const QString& name) const {
        return test::ReadWholeFile(QDir(context.programFolder).filePath(name));
    }
    void doubleClick(Slot slot) { test::DoubleClickCell(ui.FlexGrid1, slot); }
    QString place() const {
        return exporter()->cmbBank->currentText() + '-' + exporter()->cmbPatch->currentText();
    }
};
}  // namespace

class WholeWindowTest : public QObject {
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

        // A grid patch dropped on MIDI OUT reaches the MIDI link after Yes; nothing goes from
        // the other lists.
        test::ClickCell(p.ui.FlexGrid1, At("A-5"));
        p.prompter.answers << false << true;
        for (DragSource source :
             {DragSource::Grid, DragSource::Library, DragSource::Files, DragSource::Grid})
            emit p.window.droppedOnMidiOut(source);
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(1));
        QCOMPARE(p.ports->sent()[0].bytes, pad);
        QCOMPARE(p.prompter.shown.size(), 2);
        QCOMPARE(p.prompter.shown[0].title + ": " + p.prompter.shown[0].text,
                 QStringLiteral("Midi Send Patch: Do you want to send this matrix patch : \rBank "
                                "A-005: Pad ?"));

        // A double click on an empty slot asks the synth for it; on a filled one it opens Export
        // Patch, whose send button follows detection.
        emit p.window.emptySlotDoubleClicked(At("H-128"));
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(2));
        QCOMPARE(p.ports->sent()[1].bytes, p.dialect.programDumpRequest(At("H-128")));
        emit p.window.filledSlotDoubleClicked(At("A-5"));
        QVERIFY(p.exporter()->isVisible());
        QTRY_VERIFY(p.exporter()->cmdSendToMidi->isEnabled());  // once detection has run
        p.exporter()->close();

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

    void retargetedCopyChangesOnlyBytesNineAndTen() {
        WholeProgram p;
        QVERIFY(p.detect());
        const PatchRecord pad = MakeRecord("Warm Pad", 0, 0, 3);
        p.librarian.place(At("A-1"), pad);
        p.librarian.apply(pad, LoadTarget::Library);
        PatchRecord expected = pad;
        expected[8] = 7;
        expected[9] = 127;
        // The same destination twice: the file ends up holding the one record.
        for (int twice = 0; twice < 2; ++twice) {
            p.doubleClick(At("A-1"));
            p.exporter()->cmbBank->setCurrentIndex(7);
            p.exporter()->cmbPatch->setCurrentIndex(127);
            p.exporter()->cmdSauver->click();
            QCOMPARE(p.written("Warm Pad-H-128.syx"), QByteArray::fromStdString(expected));
            QFile::resize(QDir(p.context.programFolder).filePath("Warm Pad-H-128.syx"), 5000);
        }
        QVERIFY(p.librarian.at(At("A-1")) == pad);
        QVERIFY(p.librarian.library().entry(1) == pad);
        QVERIFY(p.context.ExportPatch == pad);

        // A file that cannot be written is told once, and the window stays open.
        p.doubleClick(At("A-1"));
        QDir(p.context.programFolder).removeRecursively();
        p.exporter()->cmdSauver->click();
        QCOMPARE(p.prompter.shown.size(), 1);
        QVERIFY(p.prompter.shown[0].text.startsWith("The file cannot be written:"));
        QVERIFY(p.prompter.shown[0].text.contains("Warm Pad-A-001.syx"));
        QVERIFY(p.exporter()->isVisible());
        p.exporter()->close();
    }

    // Made on first use, modeless from the library; "Send to DM" takes the port's state then
    // and follows it after; a grid double click then loads into the open window.
    void libraryPatchOpensModelessAndTakesGridPatches() {
        WholeProgram p;
        QVERIFY(!p.exporter());
        p.ports->setPorts({}, {});
        QVERIFY(p.detect());
        p.librarian.apply(MakeRecord("Lib Pad", 1, 9, 5), LoadTarget::Library);
        test::DoubleClickLine(p.ui.List1, p.ui.List1->lineNamed("Lib Pad"));
        QVERIFY(p.exporter()->isVisible() && !p.exporter()->isModal());
        QVERIFY(!p.exporter()->txtName->isEnabled() && !p.exporter()->cmdSendToMidi->isEnabled());
        QCOMPARE(p.place(), QStringLiteral("B-010"));
        p.ports->setPorts({"DeepMind12 MIDI in"}, {});
        QVERIFY(p.detect());
        QVERIFY(p.exporter()->cmdSendToMidi->isEnabled());

        p.librarian.place(At("D-2"), MakeRecord("Grid Pad", 3, 1));
        p.doubleClick(At("D-2"));
        QVERIFY(p.exporter()->isVisible() && !p.exporter()->isModal());
        QCOMPARE(p.exporter()->txtName->text(), QStringLiteral("Grid Pad"));
        QCOMPARE(p.place(), QStringLiteral("D-002"));
        QVERIFY(p.ports->sent().empty());
        p.exporter()->close();
    }

    // A grid patch left where it is is written byte for byte, under its name made safe: names
    // come from foreign files, and none leads out of the program folder.
    void gridPatchIsWrittenUnderASafeName_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << QByteArray("Warm Pad") << "Warm Pad-C-005.syx";
        QTest::newRow("climbing") << QByteArray("../../x") << ".._.._x-C-005.syx";
        QTest::newRow("latin1") << QByteArray("Br\xfc") << QString::fromLatin1("Br\xfc-C-005.syx");
    }
    void gridPatchIsWrittenUnderASafeName() {
        QFETCH(QByteArray, name);
        QFETCH(QString, file);
        WholeProgram p;
        QVERIFY(p.detect());
        const PatchRecord patch = MakeRecord(name.toStdString(), 2, 4, 7);
        p.librarian.place(At("C-5"), patch);
        p.doubleClick(At("C-5"));
        QVERIFY(p.exporter()->isVisible() && p.exporter()->isModal());
        QCOMPARE(p.exporter()->txtName->text(), QString::fromLatin1(name));
        QCOMPARE(p.place(), QStringLiteral("C-005"));
        p.exporter()->cmdSauver->click();
        QVERIFY(!p.exporter()->isVisible() && p.prompter.shown.isEmpty());
        QCOMPARE(p.exported(), QStringList{file});
        QCOMPARE(p.written(file), QByteArray::fromStdString(patch));
    }
};

QTEST_MAIN(WholeWindowTest)
#include "test_wholewindow.moc"
