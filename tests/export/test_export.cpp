// The Export Patch window: how each double click opens it, what "Save .syx" writes and where,
// that the stores never change, "Send to DM" following detection, and write failures.

#include <QtTest>

#include <QDirIterator>
#include <QLineEdit>
#include <QTemporaryDir>

#include "model/LibraryListWidget.h"
#include "support/FakeMidiPorts.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;
using zanq::test::At;

class ExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    test::FakeMidiPorts* ports = nullptr;  // owned by the app's link
    std::unique_ptr<test::WiredMain> app;

    // The program's folder sits two levels inside the scratch folder, so a name that climbs
    // out of it would still land where the tests can see it.
    // The one Export Patch window, once a double click has made it.
    frmExport* exporter() const { return FindExportWindow(app->window); }
    QString programFolder() const { return folder->filePath(QStringLiteral("deep/program")); }
    QStringList files() const {
        return QDir(programFolder()).entryList(QDir::Files | QDir::Hidden);
    }
    QByteArray written(const QString& name) const {
        QFile file(QDir(programFolder()).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Double clicks the grid slot, retargets its patch when asked, and saves it.
    void save(int bankNumber, int slot, int toBank = 0, int toProgram = 0) {
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1,
                              {Bank::fromNumber(bankNumber), Program::fromNumber(slot)});
        if (toBank) {
            exporter()->cmbBank->setCurrentIndex(toBank - 1);
            exporter()->cmbPatch->setCurrentIndex(toProgram - 1);
        }
        exporter()->cmdSauver->click();
    }
    QString place() const {
        return exporter()->cmbBank->currentText() + '-' + exporter()->cmbPatch->currentText();
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QDir().mkpath(programFolder());
        ports = new test::FakeMidiPorts;
        ports->setPorts({"DeepMind12 MIDI in"}, {});
        app = std::make_unique<test::WiredMain>(std::unique_ptr<MidiPorts>(ports), programFolder());
        QVERIFY(app->detect());
    }
    void cleanup() { app.reset(); }

    void madeOnFirstUseWithItsLists() {
        QVERIFY(!exporter());
        app->librarian.place(At("C-5"), test::MakeRecord("Warm Pad", 2, 4));
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("C-5"));
        QVERIFY(exporter()->isVisible());
        QCOMPARE(exporter()->windowTitle(), QStringLiteral("Export Patch"));
        QCOMPARE(exporter()->cmbBank->count(), 8);
        QCOMPARE(exporter()->cmbBank->itemText(7), QStringLiteral("H"));
        QCOMPARE(exporter()->cmbPatch->count(), 128);
        QCOMPARE(exporter()->cmbPatch->itemText(0), QStringLiteral("001"));
        QVERIFY(!exporter()->txtName->isEnabled());

        // "Send to DM" follows the synth's output port, there, gone and back.
        QVERIFY(exporter()->cmdSendToMidi->isEnabled());
        ports->setPorts({}, {});
        QVERIFY(app->detect());
        QVERIFY(!exporter()->cmdSendToMidi->isEnabled());
        ports->setPorts({"DeepMind12 MIDI in"}, {});
        QVERIFY(app->detect());
        QVERIFY(exporter()->cmdSendToMidi->isEnabled());
        exporter()->close();
    }

    void unchangedGridPatchIsWrittenByteForByte() {
        const PatchRecord pad = test::MakeRecord("Warm Pad", 2, 4, 7);
        app->librarian.place(At("C-5"), pad);
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("C-5"));
        QVERIFY(exporter()->isVisible() && exporter()->isModal());
        QCOMPARE(exporter()->txtName->text(), QStringLiteral("Warm Pad"));
        QCOMPARE(place(), QStringLiteral("C-005"));
        exporter()->cmdSauver->click();
        QVERIFY(!exporter()->isVisible());
        QCOMPARE(files(), QStringList{"Warm Pad-C-005.syx"});
        QCOMPARE(written("Warm Pad-C-005.syx"), QByteArray::fromStdString(pad));
        QVERIFY(app->librarian.at(At("C-5")) == pad);
        QVERIFY(app->prompter.shown.isEmpty());
    }

    void retargetedCopyChangesOnlyBytesNineAndTen() {
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 0, 3);
        app->librarian.place(At("A-1"), pad);
        app->librarian.apply(pad, LoadTarget::Library);
        PatchRecord expected = pad;
        expected[8] = 7;
        expected[9] = 127;
        save(1, 1, 8, 128);
        QCOMPARE(written("Warm Pad-H-128.syx"), QByteArray::fromStdString(expected));

        // The same destination again: the file ends up holding the one record.
        QFile::resize(QDir(programFolder()).filePath("Warm Pad-H-128.syx"), 5000);
        save(1, 1, 8, 128);
        QCOMPARE(written("Warm Pad-H-128.syx"), QByteArray::fromStdString(expected));
        QVERIFY(app->librarian.at(At("A-1")) == pad);
        QVERIFY(app->librarian.library().entry(1) == pad);
        QVERIFY(app->context.ExportPatch == pad);
    }

    void libraryPatchOpensModelessAndTakesGridPatches() {
        app->librarian.apply(test::MakeRecord("Lib Pad", 1, 9, 5), LoadTarget::Library);
        test::DoubleClickLine(test::Ui(app->window).List1,
                              test::Ui(app->window).List1->lineNamed("Lib Pad"));
        QVERIFY(exporter()->isVisible() && !exporter()->isModal());
        QCOMPARE(place(), QStringLiteral("B-010"));

        // A grid double click now loads into the open window.
        app->librarian.place(At("D-2"), test::MakeRecord("Grid Pad", 3, 1));
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("D-2"));
        QVERIFY(exporter()->isVisible() && !exporter()->isModal());
        QCOMPARE(exporter()->txtName->text(), QStringLiteral("Grid Pad"));
        QCOMPARE(place(), QStringLiteral("D-002"));
        QVERIFY(ports->sent().empty());
    }

    void namesNeverLeaveTheFolder_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("climbing") << QByteArray("../../x") << ".._.._x-C-005.syx";
        QTest::newRow("folder") << QByteArray("a/b") << "a_b-C-005.syx";
    }
    void namesNeverLeaveTheFolder() {
        QFETCH(QByteArray, name);
        QFETCH(QString, file);
        QDir(programFolder()).mkpath(QStringLiteral("a"));
        app->librarian.place(At("C-5"), test::MakeRecord(name.toStdString(), 2, 4));
        save(3, 5);
        QVERIFY(app->prompter.shown.isEmpty());
        QCOMPARE(files(), QStringList{file});
        // Every .syx file anywhere under the scratch folder.
        QDirIterator it(folder->path(), {QStringLiteral("*.syx")}, QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        QVERIFY(it.hasNext());
        QCOMPARE(QDir(programFolder()).relativeFilePath(it.next()), file);
        QVERIFY(!it.hasNext());
    }

    void writeFailureIsToldOnce() {
        app->librarian.place(At("B-2"), test::MakeRecord("Pad", 1, 1));
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("B-2"));
        folder->remove();
        exporter()->cmdSauver->click();
        const auto& shown = app->prompter.shown;
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("The file cannot be written:")));
        QVERIFY(shown[0].text.contains(QStringLiteral("Pad-B-002.syx")));
        QCOMPARE(shown[0].icon, QMessageBox::Warning);
        QVERIFY(exporter()->isVisible());
        exporter()->close();
    }
};

QTEST_MAIN(ExportTest)
#include "test_export.moc"
