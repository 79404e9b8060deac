#include <QtTest>

#include <unistd.h>

#include "EditingHarness.h"

using namespace zanq;
using test::EditingHarness;
using test::MakeRecord;

namespace {
const QString CR(kCR);

// The record as it reads once it sits in (bank, slot): only bytes 9 and 10 rewritten.
PatchRecord Moved(const PatchRecord& record, int bank, int slot) {
    return SetBankProgram(record, bank - 1, slot - 1);
}

QString InUse(const QString& place, const QString& name) {
    return "WARNING ! " + CR + CR + "The matrix " + place +
           " is already in use with patch : " + name + CR + CR;
}

// What the user sees: library lines | grid names | files [selected file] | library counter.
QString Shown(const EditingHarness& h) {
    QStringList library, grid, files;
    for (int i = 0; i < h.window->List1->count(); ++i)
        library << h.window->List1->item(i)->text();
    for (int bank = 1; bank <= 8; ++bank)
        for (int slot = 1; slot <= kSlots; ++slot)
            if (!h.stores.matrix.isEmpty(bank, slot))
                grid << h.cell(bank, slot);
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
        h.stores.matrix.set(1, 1, a);
        h.stores.matrix.set(3, 5, b);
        // A press records the drag origin, but only an occupied slot drags; a header keeps it.
        const auto origin = [&h] { return std::pair{h.stores.DragCol, h.stores.DragRow}; };
        QVERIFY(!h.editing->FlexGrid1_pressed(9, 5));
        QVERIFY(!h.editing->FlexGrid1_pressed(0, 2));
        QCOMPARE(origin(), std::pair(5, 9));
        QVERIFY(h.editing->FlexGrid1_pressed(1, 1));
        QCOMPARE(origin(), std::pair(1, 1));
        for (auto [row, col] : {std::pair{1, 1}, {0, 1}, {1, 0}, {0, 0}})  // own cell, headers
            h.dropOnGrid("FlexGrid1", row, col);
        QVERIFY(h.prompter.shown.isEmpty());

        h.prompter.answers.enqueue(false);
        h.dropOnGrid("FlexGrid1", 5, 3);
        QCOMPARE(h.prompter.shown.size(), 1);
        const auto& asked = h.prompter.shown.front();
        QCOMPARE(asked.text, InUse("Bank C-005", "Beta") + "Do you want to swap these 2 patches ?");
        QCOMPARE(asked.title, kAppTitle);
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QVERIFY(h.stores.matrix.at(1, 1) == a && h.stores.matrix.at(3, 5) == b);

        h.prompter.answers.enqueue(true);
        h.dropOnGrid("FlexGrid1", 5, 3);
        QCOMPARE(h.stores.matrix.at(3, 5), Moved(a, 3, 5));
        QCOMPARE(h.stores.matrix.at(1, 1), Moved(b, 1, 1));

        h.editing->FlexGrid1_pressed(5, 3);
        h.dropOnGrid("FlexGrid1", 100, 8);
        QCOMPARE(h.prompter.shown.size(), 2);
        QCOMPARE(h.stores.matrix.at(8, 100), Moved(a, 8, 100));
        QVERIFY(h.stores.matrix.isEmpty(3, 5));
        QCOMPARE(h.cell(8, 100), QStringLiteral("Alpha"));
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 2);
    }

    void libraryPatchIsCopiedOnlyFromASelectedLineToACell() {
        EditingHarness h;
        const PatchRecord strings = MakeRecord("Strings", 6, 100, 4);
        h.addToLibrary({MakeRecord("Bass", 0, 1), strings});
        h.dropOnGrid("List1", 3, 3);  // no line selected
        h.window->List1->SelectLibraryEntry("Strings");
        h.dropOnGrid("List1", 0, 3);
        h.dropOnGrid("List1", 3, 0);
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 0);

        // Empty slots take copies without a question, each with its own slot bytes.
        h.dropOnGrid("List1", 1, 1);
        h.dropOnGrid("List1", 128, 8);
        QVERIFY(h.prompter.shown.isEmpty());
        QCOMPARE(h.stores.matrix.at(1, 1), Moved(strings, 1, 1));
        QCOMPARE(h.stores.matrix.at(8, 128), Moved(strings, 8, 128));

        const PatchRecord organ = MakeRecord("Organ", 4, 20);
        h.stores.matrix.set(5, 21, organ);
        h.prompter.answers.enqueue(false);
        h.dropOnGrid("List1", 21, 5);
        QCOMPARE(h.prompter.shown.size(), 1);
        QCOMPARE(
            h.prompter.shown[0].text,
            InUse("Bank E-021", "Organ") + "Do you want to overwrite it (Patch will be lost) ?");
        QCOMPARE(h.prompter.shown[0].title, QStringLiteral("Warning"));
        QCOMPARE(h.prompter.shown[0].icon, QMessageBox::Warning);
        QCOMPARE(h.stores.matrix.at(5, 21), organ);

        h.prompter.answers.enqueue(true);
        h.dropOnGrid("List1", 21, 5);
        QCOMPARE(h.stores.matrix.at(5, 21), Moved(strings, 5, 21));
        QCOMPARE(h.stores.library.entry(h.stores.library.FindInLibrary("Strings")), strings);
    }

    void fileDropsLoadTheSelectedFile() {
        EditingHarness h;
        const PatchRecord one = MakeRecord("One", 2, 3);
        h.writeAndSelect("two.syx", {one, MakeRecord("Two", 7, 127)});
        h.dropOnGrid("File1", 50, 1);  // records go where their own bytes say
        QCOMPARE(h.stores.matrix.at(3, 4), one);
        QCOMPARE(Shown(h),
                 QStringLiteral(" | One Two | two.syx [two.syx] | Patches in library : 0"));
        h.editing->List1_dropped("File1");
        QCOMPARE(Shown(h),
                 QStringLiteral("One Two | One Two | two.syx [two.syx] | Patches in library : 2"));

        // Only files go into the library by dragging, and only a selected one.
        h.stores.matrix.set(1, 1, MakeRecord("Grid", 0, 0));
        h.editing->FlexGrid1_pressed(1, 1);
        h.editing->List1_dropped("FlexGrid1");
        h.stores.matrix.ClearBank(3);
        h.files->selectFile(-1);
        h.dropOnGrid("File1", 50, 1);
        h.editing->List1_dropped("File1");
        QCOMPARE(Shown(h),
                 QStringLiteral("One Two | Grid Two | two.syx [] | Patches in library : 2"));
    }

    void deleteZoneAsksThenDeletes_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("afterYes");
        QTest::newRow("library patch")
            << "List1" << true << "Do you want to delete this library patch :" + CR + CR + "Beta ?"
            << "Alpha Gamma | Keys Other | bank.syx gone.syx [gone.syx] | Patches in library : 2";
        QTest::newRow("matrix patch")
            << "FlexGrid1" << true
            << "Do you want to delete this matrix patch : " + CR + CR + "Bank B-010: Keys ?"
            << "Alpha Beta Gamma | Other | bank.syx gone.syx [gone.syx] | Patches in library : 3";
        QTest::newRow("file")
            << "File1" << true << "Do you want to delete the file : " + CR + CR + "gone.syx ?"
            << "Alpha Beta Gamma | Keys Other | bank.syx [] | Patches in library : 3";
        QTest::newRow("no library line") << "List1" << false << QString() << QString();
        QTest::newRow("no file") << "File1" << false << QString() << QString();
    }
    void deleteZoneAsksThenDeletes() {
        QFETCH(QString, source);
        QFETCH(bool, selected);
        QFETCH(QString, question);
        QFETCH(QString, afterYes);
        EditingHarness h;
        h.writeAndSelect("bank.syx", {MakeRecord("Alpha", 0, 0), MakeRecord("Beta", 0, 1),
                                      MakeRecord("Gamma", 0, 2)});
        h.files->cmdLoadPatchlist_clicked();
        const QString gone = h.writeAndSelect("gone.syx", {MakeRecord("Gone", 0, 0)});
        h.stores.matrix.set(2, 10, MakeRecord("Keys", 1, 9));
        h.stores.matrix.set(2, 11, MakeRecord("Other", 1, 10));
        h.editing->FlexGrid1_pressed(10, 2);
        if (selected)
            h.window->List1->SelectLibraryEntry("Beta");
        else
            h.files->selectFile(-1);
        const QString before = Shown(h);

        // The counter is rewritten after every drop, whatever happened.
        for (bool yes : {false, true}) {
            h.window->StatusPanel[1]->setText("stale");
            h.prompter.answers.enqueue(yes);
            h.editing->Image1_dropped(source);
            QCOMPARE(Shown(h), yes && selected ? afterYes : before);
        }
        QCOMPARE(QFile::exists(gone), source != "File1" || !selected);
        QCOMPARE(h.prompter.shown.size(), selected ? 2 : 0);
        for (const auto& asked : h.prompter.shown) {
            QCOMPARE(asked.text, question);
            QCOMPARE(asked.title, QStringLiteral("WARNING"));
            QCOMPARE(asked.icon, QMessageBox::Warning);
        }
    }

    void deletedLibraryPatchLeavesAHoleUntilReloaded() {
        EditingHarness h;
        h.writeAndSelect("lib.syx", {MakeRecord("Alpha", 0, 0), MakeRecord("Beta", 0, 1),
                                     MakeRecord("Gamma", 0, 2)});
        h.files->cmdLoadPatchlist_clicked();
        h.window->List1->SelectLibraryEntry("Beta");
        h.prompter.answers.enqueue(true);
        h.editing->Image1_dropped("List1");
        QCOMPARE(h.stores.library.size(), std::size_t{4});
        QVERIFY(h.stores.library.entry(2).empty());
        QCOMPARE(h.stores.library.FindInLibrary("Gamma"), std::size_t{3});

        h.files->cmdLoadPatchlist_clicked();
        QCOMPARE(h.stores.library.FindInLibrary("Beta"), std::size_t{4});
        QCOMPARE(h.counter(), QStringLiteral("Patches in library : 3"));
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
        h.editing->Image1_dropped("File1");
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
