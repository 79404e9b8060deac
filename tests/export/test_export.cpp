// The Export Patch window: how each double click opens it, what "Save .syx" writes, where and
// under which name, that the stores never change, "Send to DM" following detection, and a
// write failure.

#include <QtTest>

#include <QLineEdit>
#include <QTemporaryDir>

#include "model/LibraryListWidget.h"
#include "support/FakeMidiPorts.h"
#include "support/GridClicks.h"

using namespace zanq;
using zanq::test::At;
using zanq::test::MakeRecord;

class ExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    test::FakeMidiPorts* ports = nullptr;  // owned by the app's link
    std::unique_ptr<test::WiredMain> app;
    // Made on the first double click that opens it; null before.
    frmExport* exporter() const { return FindExportWindow(app->window); }

    // The program's folder sits two levels inside the scratch folder, so that a name that
    // climbs out of it stays inside the scratch folder.
    QString programFolder() const { return folder->filePath(QStringLiteral("deep/program")); }
    QStringList files() const {
        return QDir(programFolder()).entryList(QDir::Files | QDir::Hidden);
    }
    QByteArray written(const QString& name) const {
        return test::ReadWholeFile(QDir(programFolder()).filePath(name));
    }
    void doubleClick(Slot slot) { test::DoubleClickCell(test::Ui(app->window).FlexGrid1, slot); }
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

    void retargetedCopyChangesOnlyBytesNineAndTen() {
        const PatchRecord pad = MakeRecord("Warm Pad", 0, 0, 3);
        app->librarian.place(At("A-1"), pad);
        app->librarian.apply(pad, LoadTarget::Library);
        PatchRecord expected = pad;
        expected[8] = 7;
        expected[9] = 127;
        // The same destination twice: the file ends up holding the one record.
        for (int twice = 0; twice < 2; ++twice) {
            doubleClick(At("A-1"));
            exporter()->cmbBank->setCurrentIndex(7);
            exporter()->cmbPatch->setCurrentIndex(127);
            exporter()->cmdSauver->click();
            QCOMPARE(written("Warm Pad-H-128.syx"), QByteArray::fromStdString(expected));
            QFile::resize(QDir(programFolder()).filePath("Warm Pad-H-128.syx"), 5000);
        }
        QVERIFY(app->librarian.at(At("A-1")) == pad);
        QVERIFY(app->librarian.library().entry(1) == pad);
        QVERIFY(app->context.ExportPatch == pad);

        // A file that cannot be written is told once, and the window stays open.
        doubleClick(At("A-1"));
        folder->remove();
        exporter()->cmdSauver->click();
        QCOMPARE(app->prompter.shown.size(), 1);
        QVERIFY(app->prompter.shown[0].text.startsWith("The file cannot be written:"));
        QVERIFY(app->prompter.shown[0].text.contains("Warm Pad-A-001.syx"));
        QVERIFY(exporter()->isVisible());
        exporter()->close();
    }

    // Made on first use, modeless from the library; "Send to DM" takes the port's state then
    // and follows it after; a grid double click then loads into the open window.
    void libraryPatchOpensModelessAndTakesGridPatches() {
        QVERIFY(!exporter());
        ports->setPorts({}, {});
        QVERIFY(app->detect());
        app->librarian.apply(MakeRecord("Lib Pad", 1, 9, 5), LoadTarget::Library);
        test::DoubleClickLine(test::Ui(app->window).List1,
                              test::Ui(app->window).List1->lineNamed("Lib Pad"));
        QVERIFY(exporter()->isVisible() && !exporter()->isModal());
        QVERIFY(!exporter()->txtName->isEnabled() && !exporter()->cmdSendToMidi->isEnabled());
        QCOMPARE(place(), QStringLiteral("B-010"));
        ports->setPorts({"DeepMind12 MIDI in"}, {});
        QVERIFY(app->detect());
        QVERIFY(exporter()->cmdSendToMidi->isEnabled());

        app->librarian.place(At("D-2"), MakeRecord("Grid Pad", 3, 1));
        doubleClick(At("D-2"));
        QVERIFY(exporter()->isVisible() && !exporter()->isModal());
        QCOMPARE(exporter()->txtName->text(), QStringLiteral("Grid Pad"));
        QCOMPARE(place(), QStringLiteral("D-002"));
        QVERIFY(ports->sent().empty());
        exporter()->close();
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
        const PatchRecord patch = MakeRecord(name.toStdString(), 2, 4, 7);
        app->librarian.place(At("C-5"), patch);
        doubleClick(At("C-5"));
        QVERIFY(exporter()->isVisible() && exporter()->isModal());
        QCOMPARE(exporter()->txtName->text(), QString::fromLatin1(name));
        QCOMPARE(place(), QStringLiteral("C-005"));
        exporter()->cmdSauver->click();
        QVERIFY(!exporter()->isVisible() && app->prompter.shown.isEmpty());
        QCOMPARE(files(), QStringList{file});
        QCOMPARE(written(file), QByteArray::fromStdString(patch));
    }
};

QTEST_MAIN(ExportTest)
#include "test_export.moc"
