// The Export Patch window: how each double click opens it, what "Save .syx" writes and where,
// what "Send to DM" sends, that the stores never change, and write failures.

#include <QtTest>

#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/FakeMidiBackend.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "midi/modMIDI.h"
#include "model/LibraryListWidget.h"
#include "shell/frmMain.h"
#include "support/GridClicks.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<PatchStores> stores;
    test::ScriptedPrompter prompter;
    std::unique_ptr<FakeMidiBackend> ports;
    std::unique_ptr<modMIDI> midi;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<frmMain> main;
    frmExport* window = nullptr;

    // The program's folder sits two levels inside the scratch folder, so a name that climbs
    // out of it would still land where the tests can see it.
    QString programFolder() const { return folder->filePath(QStringLiteral("deep/program")); }
    QStringList files() const {
        return QDir(programFolder()).entryList(QDir::Files | QDir::Hidden);
    }
    // Every .syx file anywhere under the scratch folder, relative to the program's folder.
    QStringList allSyx() const {
        QStringList found;
        QDirIterator it(folder->path(), {QStringLiteral("*.syx")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(programFolder()).relativeFilePath(it.next());
        return found;
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        stores = std::make_unique<PatchStores>();
        prompter.shown.clear();
        ports = std::make_unique<FakeMidiBackend>();
        ports->outputs = {"DeepMind12 MIDI in"};
        midi = std::make_unique<modMIDI>(*ports, prompter);
        QDir().mkpath(programFolder());
        context = std::make_unique<AppContext>(AppContext{*stores, prompter, programFolder()});
        context->midi = midi.get();
        main = std::make_unique<frmMain>(*context);
        main->Timer1->stop();
        InstallMidi(*main, *context);
        InstallMidiTransfers(*main, *context);
        InstallExport(*main, *context);
        main->show();
        window = FindExportWindow(*main);
    }
    void cleanup() {
        main.reset();
        midi.reset();
    }

    void createdHiddenWithItsLists() {
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Export Patch"));
        QCOMPARE(window->cmbBank->count(), 8);
        QCOMPARE(window->cmbBank->itemText(7), QStringLiteral("H"));
        QCOMPARE(window->cmbPatch->count(), 128);
        QCOMPARE(window->cmbPatch->itemText(0), QStringLiteral("001"));
        QCOMPARE(window->cmbPatch->itemText(127), QStringLiteral("128"));
        QVERIFY(!window->txtName->isEnabled());
        QVERIFY(!window->cmbBank->isEditable());

        // "Send to DM" follows the synth's output port.
        QVERIFY(window->cmdSendToMidi->isEnabled());
        ports->outputs.clear();
        FindDeepMindDetector(*main)->DetectDeepMind();
        QVERIFY(!window->cmdSendToMidi->isEnabled());
        ports->outputs = {"deepmind 12"};
        FindDeepMindDetector(*main)->DetectDeepMind();
        QVERIFY(window->cmdSendToMidi->isEnabled());
    }

    void unchangedGridPatchIsWrittenByteForByte() {
        const PatchRecord pad = test::MakeRecord("Warm Pad", 2, 4, 7);
        stores->matrix.set(3, 5, pad);
        test::DoubleClickCell(main->FlexGrid1, 3, 5);
        QVERIFY(window->isVisible());
        QVERIFY(window->isModal());
        QCOMPARE(window->txtName->text(), QStringLiteral("Warm Pad"));
        QCOMPARE(window->cmbBank->currentText(), QStringLiteral("C"));
        QCOMPARE(window->cmbPatch->currentText(), QStringLiteral("005"));
        window->cmdSauver->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(files(), QStringList{"Warm Pad-C-005.syx"});
        QCOMPARE(ReadAll(QDir(programFolder()).filePath("Warm Pad-C-005.syx")),
                 QByteArray::fromStdString(pad));
        QVERIFY(stores->matrix.at(3, 5) == pad);
        QVERIFY(prompter.shown.isEmpty());
    }

    void retargetedCopyChangesOnlyBytesNineAndTen() {
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 0, 3);
        stores->matrix.set(1, 1, pad);
        stores->library.AddToLibrary(pad);
        test::DoubleClickCell(main->FlexGrid1, 1, 1);
        window->cmbBank->setCurrentIndex(7);
        window->cmbPatch->setCurrentIndex(127);
        window->cmdSauver->click();
        const QByteArray written = ReadAll(QDir(programFolder()).filePath("Warm Pad-H-128.syx"));
        QCOMPARE(written.size(), qsizetype(291));
        for (qsizetype i = 0; i < written.size(); ++i)
            if (i != 8 && i != 9)
                QCOMPARE(written[i], pad[static_cast<std::size_t>(i)]);
        QCOMPARE(int(written[8]), 7);
        QCOMPARE(int(written[9]), 127);

        // The same destination again: the file ends up holding the one record.
        QFile::resize(QDir(programFolder()).filePath("Warm Pad-H-128.syx"), 5000);
        test::DoubleClickCell(main->FlexGrid1, 1, 1);
        window->cmbBank->setCurrentIndex(7);
        window->cmbPatch->setCurrentIndex(127);
        window->cmdSauver->click();
        QCOMPARE(ReadAll(QDir(programFolder()).filePath("Warm Pad-H-128.syx")), written);

        // Sent: the same retargeted bytes, then the window closes.
        test::DoubleClickCell(main->FlexGrid1, 1, 1);
        window->cmbBank->setCurrentIndex(7);
        window->cmbPatch->setCurrentIndex(127);
        window->cmdSendToMidi->click();
        QCOMPARE(ports->sent.size(), std::size_t(1));
        QCOMPARE(QByteArray::fromStdString(ports->sent[0].second), written);
        QVERIFY(!window->isVisible());

        QVERIFY(stores->matrix.at(1, 1) == pad);
        QVERIFY(stores->library.entry(1) == pad);
        QVERIFY(stores->ExportPatch == pad);
    }

    void libraryPatchOpensModelessOnItsOwnPlace() {
        const PatchRecord lib = test::MakeRecord("Lib Pad", 1, 9, 5);
        stores->library.AddToLibrary(lib);
        stores->library.AddToLibrary(test::MakeRecord("Other", 6, 99, 6));
        test::DoubleClickLine(main->List1, main->List1->lineNamed(QStringLiteral("Lib Pad")));
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->cmbBank->currentText(), QStringLiteral("B"));
        QCOMPARE(window->cmbPatch->currentText(), QStringLiteral("010"));

        // Further double clicks load into the open window, from the library and from the grid.
        test::DoubleClickLine(main->List1, main->List1->lineNamed(QStringLiteral("Other")));
        QCOMPARE(window->txtName->text(), QStringLiteral("Other"));
        QCOMPARE(window->cmbBank->currentText(), QStringLiteral("G"));
        QCOMPARE(window->cmbPatch->currentText(), QStringLiteral("100"));
        stores->matrix.set(4, 2, test::MakeRecord("Grid Pad", 3, 1));
        test::DoubleClickCell(main->FlexGrid1, 4, 2);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->txtName->text(), QStringLiteral("Grid Pad"));
        QCOMPARE(window->cmbBank->currentText(), QStringLiteral("D"));
        QCOMPARE(window->cmbPatch->currentText(), QStringLiteral("002"));
        QVERIFY(ports->sent.empty());
    }

    void namesNeverLeaveTheFolder_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("empty") << QByteArray() << "-C-005.syx";
        QTest::newRow("climbing") << QByteArray("../../x") << ".._.._x-C-005.syx";
        QTest::newRow("folder") << QByteArray("a/b") << "a_b-C-005.syx";
        QTest::newRow("dots") << QByteArray("..") << "_-C-005.syx";
    }
    void namesNeverLeaveTheFolder() {
        QFETCH(QByteArray, name);
        QFETCH(QString, file);
        QDir(programFolder()).mkpath(QStringLiteral("a"));
        stores->matrix.set(3, 5, test::MakeRecord(name.toStdString(), 2, 4));
        test::DoubleClickCell(main->FlexGrid1, 3, 5);
        window->cmdSauver->click();
        QCOMPARE(prompter.shown.size(), 0);
        QCOMPARE(files(), QStringList{file});
        QCOMPARE(allSyx(), QStringList{file});
    }

    void writeFailureIsToldOnce() {
        stores->matrix.set(2, 2, test::MakeRecord("Pad", 1, 1));
        test::DoubleClickCell(main->FlexGrid1, 2, 2);
        folder->remove();
        window->cmdSauver->click();
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.shown[0].text.startsWith(QStringLiteral("The file cannot be written:")));
        QVERIFY(prompter.shown[0].text.contains(QStringLiteral("Pad-B-002.syx")));
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Warning);
        QVERIFY(window->isVisible());
        window->close();
    }
};

QTEST_MAIN(ExportTest)
#include "test_export.moc"
