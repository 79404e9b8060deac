#include <QtTest>

#include <unistd.h>

#include "EditingHarness.h"
#include "support/MainUi.h"

using namespace zanq;
using test::At;
using test::EditingHarness;
using test::MakeRecord;

namespace {
const QString CR(kCR);

// The record as it reads once it sits in slot: only bytes 9 and 10 rewritten.
PatchRecord Moved(const PatchRecord& record, Slot slot) {
    return DeepMindDialect().retarget(record, slot);
}

QString InUse(const QString& place, const QString& name) {
    return "WARNING ! " + CR + CR + "The matrix " + place +
           " is already in use with patch : " + name + CR + CR;
}

// What the user sees: library lines | grid names | files [selected file] | library counter.
QString Shown(const EditingHarness& h) {
    QStringList library, grid, files;
    const auto* list = h.ui().List1;
    for (int i = 0; i < list->count(); ++i)
        library << list->item(i)->text();
    for (int index = 0; index < Bank::kCount * Program::kCount; ++index)
        if (!h.librarian.isEmpty(Slot::fromIndex(index)))
            grid << h.cell(Slot::fromIndex(index));
    for (int row = 0; row < h.files->fileCount(); ++row)
        files << h.files->fileNameAt(row);
    files << "[" + (h.files->hasSelectedFile() ? h.files->selectedFileName() : QString()) + "]";
    return QStringList{library.join(' '), grid.join(' '), files.join(' '), h.counter()}.join(" | ");
}

}  // namespace

class DropTest : public QObject {
    Q_OBJECT
private slots:
    void gridPatchesSwapAfterYesAndMoveToEmptySlots() {
        EditingHarness h;
        const PatchRecord a = MakeRecord("Alpha", 0, 0, 1), b = MakeRecord("Beta", 2, 4, 2);
        h.librarian.place(At("A-1"), a);
        h.librarian.place(At("C-5"), b);
        h.dropOnGrid(DragSource::Grid, At("A-1"));  // no press yet: nothing to move
        h.context.dragOrigin = At("A-1");
        h.dropOnGrid(DragSource::Grid, At("A-1"));  // its own cell
        QVERIFY(h.prompter.shown.isEmpty());

        h.prompter.answers.enqueue(false);
        h.dropOnGrid(DragSource::Grid, At("C-5"));
        QCOMPARE(h.prompter.shown.size(), 1);
        const auto& asked = h.prompter.shown.front();
        QCOMPARE(asked.text, InUse("Bank C-005", "Beta") + "Do you want to swap these 2 patches ?");
        QCOMPARE(asked.title, kAppTitle);
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QVERIFY(h.librarian.at(At("A-1")) == a && h.librarian.at(At("C-5")) == b);

        h.prompter.answers.enqueue(true);
        h.dropOnGrid(DragSource::Grid, At("C-5"));
        QCOMPARE(h.librarian.at(At("C-5")), Moved(a, At("C-5")));
        QCOMPARE(h.librarian.at(At("A-1")), Moved(b, At("A-1")));

        h.context.dragOrigin = At("C-5");
        h.dropOnGrid(DragSource::Grid, At("H-100"));
        QCOMPARE(h.prompter.shown.size(), 2);
        QCOMPARE(h.librarian.at(At("H-100")), Moved(a, At("H-100")));
        QVERIFY(h.librarian.isEmpty(At("C-5")));
        QCOMPARE(h.cell(At("H-100")), QStringLiteral("Alpha"));
        QCOMPARE(h.librarian.matrix().CountMatrixPatches(), 2);
    }

    void libraryPatchIsCopiedOnlyFromASelectedLineToACell() {
        EditingHarness h;
        const PatchRecord strings = MakeRecord("Strings", 6, 100, 4);
        h.librarian.apply({MakeRecord("Bass", 0, 1), strings}, LoadTarget::Library);
        h.dropOnGrid(DragSource::Library, At("C-3"));  // no line selected
        h.window->selectLibraryEntry("Strings");
        QCOMPARE(h.librarian.matrix().CountMatrixPatches(), 0);

        // Empty slots take copies without a question, each with its own slot bytes.
        h.dropOnGrid(DragSource::Library, At("A-1"));
        h.dropOnGrid(DragSource::Library, At("H-128"));
        QVERIFY(h.prompter.shown.isEmpty());
        QCOMPARE(h.librarian.at(At("A-1")), Moved(strings, At("A-1")));
        QCOMPARE(h.librarian.at(At("H-128")), Moved(strings, At("H-128")));

        const PatchRecord organ = MakeRecord("Organ", 4, 20);
        h.librarian.place(At("E-21"), organ);
        h.prompter.answers.enqueue(false);
        h.dropOnGrid(DragSource::Library, At("E-21"));
        QCOMPARE(h.prompter.shown.size(), 1);
        QCOMPARE(
            h.prompter.shown[0].text,
            InUse("Bank E-021", "Organ") + "Do you want to overwrite it (Patch will be lost) ?");
        QCOMPARE(h.prompter.shown[0].title, QStringLiteral("Warning"));
        QCOMPARE(h.prompter.shown[0].icon, QMessageBox::Warning);
        QCOMPARE(h.librarian.at(At("E-21")), organ);

        h.prompter.answers.enqueue(true);
        h.dropOnGrid(DragSource::Library, At("E-21"));
        QCOMPARE(h.librarian.at(At("E-21")), Moved(strings, At("E-21")));
        QCOMPARE(h.librarian.library().entry(h.librarian.library().FindInLibrary("Strings")),
                 strings);
    }

    void deleteZoneAsksThenDeletes_data() {
        QTest::addColumn<DragSource>("source");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("afterYes");
        QTest::newRow("library patch")
            << DragSource::Library << true
            << "Do you want to delete this library patch :" + CR + CR + "Beta ?"
            << "Alpha Gamma | Keys Other | bank.syx gone.syx [gone.syx] | Patches in library : 2";
        QTest::newRow("matrix patch")
            << DragSource::Grid << true
            << "Do you want to delete this matrix patch : " + CR + CR + "Bank B-010: Keys ?"
            << "Alpha Beta Gamma | Other | bank.syx gone.syx [gone.syx] | Patches in library : 3";
        QTest::newRow("file")
            << DragSource::Files << true
            << "Do you want to delete the file : " + CR + CR + "gone.syx ?"
            << "Alpha Beta Gamma | Keys Other | bank.syx [] | Patches in library : 3";
        QTest::newRow("no library line") << DragSource::Library << false << QString() << QString();
        QTest::newRow("no file") << DragSource::Files << false << QString() << QString();
    }
    void deleteZoneAsksThenDeletes() {
        QFETCH(DragSource, source);
        QFETCH(bool, selected);
        QFETCH(QString, question);
        QFETCH(QString, afterYes);
        EditingHarness h;
        h.writeAndSelect("bank.syx", {MakeRecord("Alpha", 0, 0), MakeRecord("Beta", 0, 1),
                                      MakeRecord("Gamma", 0, 2)});
        h.files->cmdLoadPatchlist_clicked();
        const QString gone = h.writeAndSelect("gone.syx", {MakeRecord("Gone", 0, 0)});
        h.librarian.place(At("B-10"), MakeRecord("Keys", 1, 9));
        h.librarian.place(At("B-11"), MakeRecord("Other", 1, 10));
        h.context.dragOrigin = At("B-10");
        if (selected)
            h.window->selectLibraryEntry("Beta");
        else
            h.files->selectFile(-1);
        const QString before = Shown(h);

        for (bool yes : {false, true}) {
            h.prompter.answers.enqueue(yes);
            h.dropOnDeleteZone(source);
            QCOMPARE(Shown(h), yes && selected ? afterYes : before);
        }
        QCOMPARE(QFile::exists(gone), source != DragSource::Files || !selected);
        QCOMPARE(h.prompter.shown.size(), selected ? 2 : 0);
        for (const auto& asked : h.prompter.shown) {
            QCOMPARE(asked.text, question);
            QCOMPARE(asked.title, QStringLiteral("WARNING"));
            QCOMPARE(asked.icon, QMessageBox::Warning);
            // Enter must not delete a file from disk.
            QCOMPARE(asked.defaultNo, source == DragSource::Files);
        }
    }

    void fileThatCannotBeDeletedIsReportedOnce_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("already gone") << false;
        QTest::newRow("read-only folder") << true;
    }
    void fileThatCannotBeDeletedIsReportedOnce() {
        QFETCH(bool, readOnlyFolder);
        if (readOnlyFolder && geteuid() == 0)
            QSKIP("root may delete in a read-only folder");
        EditingHarness h;
        const QString path = h.writeAndSelect("stuck.syx", {MakeRecord("Stuck", 0, 0)});
        const QString before = Shown(h);
        const QFile::Permissions permissions = QFile::permissions(h.folder.path());
        if (readOnlyFolder)
            QFile::setPermissions(h.folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        else
            QFile::remove(path);

        h.prompter.answers.enqueue(true);
        h.dropOnDeleteZone(DragSource::Files);
        QFile::setPermissions(h.folder.path(), permissions);

        QCOMPARE(h.prompter.shown.size(), 2);
        const auto& told = h.prompter.shown.back();
        QVERIFY(!told.question);
        QVERIFY(told.text.contains("stuck.syx"));
        QVERIFY(told.text.contains(readOnlyFolder ? "ermission" : "No such file"));
        QCOMPARE(Shown(h), before);  // the list and its selection stay as they were
    }
};

QTEST_MAIN(DropTest)
#include "test_drops.moc"
