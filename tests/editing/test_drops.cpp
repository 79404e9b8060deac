#include <QtTest>

#include <unistd.h>

#include "EditingHarness.h"

using namespace zanq;
using test::EditingHarness;
using test::MakeRecord;

namespace {
const QString CR(kCR);

// The record sits in (bank, slot) with only its bank and program bytes changed.
bool Retargeted(const PatchRecord& got, const PatchRecord& original, int bank, int slot) {
    if (got.size() != original.size())
        return false;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i == 8 && static_cast<unsigned char>(got[i]) != bank - 1)
            return false;
        if (i == 9 && static_cast<unsigned char>(got[i]) != slot - 1)
            return false;
        if (i != 8 && i != 9 && got[i] != original[i])
            return false;
    }
    return true;
}

QString InUse(const QString& place, const QString& name) {
    return "WARNING ! " + CR + CR + "The matrix " + place +
           " is already in use with patch : " + name + CR + CR;
}
}  // namespace

class DropTest : public QObject {
    Q_OBJECT
private slots:
    void gridPressRecordsOriginAndOnlyAnOccupiedSlotDrags() {
        EditingHarness h;
        h.stores.matrix.set(3, 7, MakeRecord("Pad", 2, 6));
        QVERIFY(h.editing->FlexGrid1_pressed(7, 3));
        QCOMPARE(h.stores.DragCol, 3);
        QCOMPARE(h.stores.DragRow, 7);
        QVERIFY(!h.editing->FlexGrid1_pressed(9, 5));
        QCOMPARE(h.stores.DragCol, 5);
        QCOMPARE(h.stores.DragRow, 9);
        QVERIFY(!h.editing->FlexGrid1_pressed(0, 2));  // header row keeps the origin
        QCOMPARE(h.stores.DragCol, 5);
        QCOMPARE(h.stores.DragRow, 9);
    }

    void gridPatchMovesToAnEmptySlot() {
        EditingHarness h;
        const PatchRecord lead = MakeRecord("Lead", 1, 4, 3);
        h.stores.matrix.set(2, 5, lead);
        h.editing->FlexGrid1_pressed(5, 2);
        h.editing->FlexGrid1_dropped("FlexGrid1", 100, 8);
        QVERIFY(h.prompter.shown.isEmpty());
        QVERIFY(Retargeted(h.stores.matrix.at(8, 100), lead, 8, 100));
        QVERIFY(h.stores.matrix.isEmpty(2, 5));
        QCOMPARE(h.cell(8, 100), QStringLiteral("Lead"));
        QCOMPARE(h.cell(2, 5), QString());
        QVERIFY(test::ScratchBankEmpty(h.stores.matrix));
    }

    void gridPatchesSwapOnlyAfterYes() {
        EditingHarness h;
        const PatchRecord a = MakeRecord("Alpha", 0, 0, 1);
        const PatchRecord b = MakeRecord("Beta", 2, 4, 2);
        h.stores.matrix.set(1, 1, a);
        h.stores.matrix.set(3, 5, b);
        h.editing->FlexGrid1_pressed(1, 1);

        h.prompter.answers.enqueue(false);
        h.editing->FlexGrid1_dropped("FlexGrid1", 5, 3);
        QCOMPARE(h.prompter.shown.size(), 1);
        const auto& asked = h.prompter.shown.front();
        QCOMPARE(asked.text, InUse("Bank C-005", "Beta") + "Do you want to swap these 2 patches ?");
        QCOMPARE(asked.title, kAppTitle);
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QCOMPARE(h.stores.matrix.at(1, 1), a);
        QCOMPARE(h.stores.matrix.at(3, 5), b);
        QVERIFY(test::ScratchBankEmpty(h.stores.matrix));

        h.prompter.answers.enqueue(true);
        h.editing->FlexGrid1_dropped("FlexGrid1", 5, 3);
        QVERIFY(Retargeted(h.stores.matrix.at(3, 5), a, 3, 5));
        QVERIFY(Retargeted(h.stores.matrix.at(1, 1), b, 1, 1));
        QCOMPARE(h.cell(3, 5), QStringLiteral("Alpha"));
        QCOMPARE(h.cell(1, 1), QStringLiteral("Beta"));
        QVERIFY(test::ScratchBankEmpty(h.stores.matrix));
    }

    void gridDropOnItsOwnCellOrAHeaderDoesNothing() {
        EditingHarness h;
        const PatchRecord a = MakeRecord("Alpha", 3, 9);
        h.stores.matrix.set(4, 10, a);
        h.editing->FlexGrid1_pressed(10, 4);
        for (auto [row, col] : {std::pair{10, 4}, {0, 4}, {10, 0}, {0, 0}})
            h.editing->FlexGrid1_dropped("FlexGrid1", row, col);
        QVERIFY(h.prompter.shown.isEmpty());
        QCOMPARE(h.stores.matrix.at(4, 10), a);
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 1);
    }

    void libraryPatchIsCopiedWithOverwriteQuestion() {
        EditingHarness h;
        const PatchRecord strings = MakeRecord("Strings", 6, 100, 4);
        h.addToLibrary({MakeRecord("Bass", 0, 1), strings});
        h.window->List1->SelectLibraryEntry("Strings");

        // Empty slots take copies without a question, each with its own slot bytes.
        h.editing->FlexGrid1_dropped("List1", 1, 1);
        h.editing->FlexGrid1_dropped("List1", 128, 8);
        QVERIFY(h.prompter.shown.isEmpty());
        QVERIFY(Retargeted(h.stores.matrix.at(1, 1), strings, 1, 1));
        QVERIFY(Retargeted(h.stores.matrix.at(8, 128), strings, 8, 128));
        QCOMPARE(h.cell(8, 128), QStringLiteral("Strings"));

        const PatchRecord organ = MakeRecord("Organ", 4, 20);
        h.stores.matrix.set(5, 21, organ);
        h.prompter.answers.enqueue(false);
        h.editing->FlexGrid1_dropped("List1", 21, 5);
        QCOMPARE(h.prompter.shown.size(), 1);
        QCOMPARE(
            h.prompter.shown[0].text,
            InUse("Bank E-021", "Organ") + "Do you want to overwrite it (Patch will be lost) ?");
        QCOMPARE(h.prompter.shown[0].title, QStringLiteral("Warning"));
        QCOMPARE(h.prompter.shown[0].icon, QMessageBox::Warning);
        QCOMPARE(h.stores.matrix.at(5, 21), organ);

        h.prompter.answers.enqueue(true);
        h.editing->FlexGrid1_dropped("List1", 21, 5);
        QVERIFY(Retargeted(h.stores.matrix.at(5, 21), strings, 5, 21));
        QCOMPARE(h.stores.library.entry(h.stores.library.FindInLibrary("Strings")), strings);
        QCOMPARE(h.stores.library.FindInLibrary("Organ"), std::size_t{0});
        QVERIFY(test::ScratchBankEmpty(h.stores.matrix));
    }

    void libraryDropWithoutSelectionOrOnHeaderDoesNothing() {
        EditingHarness h;
        h.addToLibrary({MakeRecord("Bass", 0, 1)});
        h.editing->FlexGrid1_dropped("List1", 3, 3);
        h.window->List1->SelectLibraryEntry("Bass");
        h.editing->FlexGrid1_dropped("List1", 0, 3);
        h.editing->FlexGrid1_dropped("List1", 3, 0);
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 0);
        QVERIFY(h.prompter.shown.isEmpty());
    }

    void onlyFilesGoIntoTheLibraryByDragging() {
        EditingHarness h;
        h.stores.matrix.set(1, 1, MakeRecord("Grid", 0, 0));
        h.addToLibrary({MakeRecord("Lib", 0, 0)});
        h.window->List1->SelectLibraryEntry("Lib");
        h.editing->FlexGrid1_pressed(1, 1);
        h.editing->List1_dropped("FlexGrid1");
        h.editing->List1_dropped("List1");
        QCOMPARE(h.stores.library.patchCount(), std::size_t{1});
        QCOMPARE(h.window->List1->count(), 1);

        h.writeAndSelect("two.syx", {MakeRecord("One", 2, 3), MakeRecord("Two", 7, 127)});
        h.editing->List1_dropped("File1");
        QCOMPARE(h.window->List1->count(), 3);
        QVERIFY(h.stores.library.FindInLibrary("Two") > 0);
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 1);  // the library load leaves the grid
        QCOMPARE(h.counter(), QStringLiteral("Patches in library : 3"));
    }

    void fileDropOnTheGridLoadsWhereItsRecordsSay() {
        EditingHarness h;
        const PatchRecord one = MakeRecord("One", 2, 3);
        const PatchRecord two = MakeRecord("Two", 7, 127);
        h.writeAndSelect("two.syx", {one, two});
        h.editing->FlexGrid1_dropped("File1", 50, 1);
        QCOMPARE(h.stores.matrix.at(3, 4), one);
        QCOMPARE(h.stores.matrix.at(8, 128), two);
        QVERIFY(h.stores.matrix.isEmpty(1, 50));
        QCOMPARE(h.window->List1->count(), 0);

        // No selected file: nothing loads.
        h.stores.matrix.ClearBank(3);
        h.files->selectFile(-1);
        h.editing->FlexGrid1_dropped("File1", 50, 1);
        h.editing->List1_dropped("File1");
        QCOMPARE(h.stores.matrix.CountBankPatches(3), 0);
        QCOMPARE(h.window->List1->count(), 0);
    }

    void deletingALibraryPatchLeavesAHoleUntilReloaded() {
        EditingHarness h;
        const std::vector<PatchRecord> records{MakeRecord("Alpha", 0, 0), MakeRecord("Beta", 0, 1),
                                               MakeRecord("Gamma", 0, 2)};
        h.writeAndSelect("lib.syx", records);
        h.files->cmdLoadPatchlist_clicked();
        QCOMPARE(h.counter(), QStringLiteral("Patches in library : 3"));
        h.window->List1->SelectLibraryEntry("Beta");

        h.prompter.answers.enqueue(false);
        h.editing->Image1_dropped("List1");
        QCOMPARE(h.prompter.shown.back().text,
                 "Do you want to delete this library patch :" + CR + CR + "Beta ?");
        QCOMPARE(h.prompter.shown.back().title, QStringLiteral("WARNING"));
        QCOMPARE(h.prompter.shown.back().icon, QMessageBox::Warning);
        QCOMPARE(h.window->List1->count(), 3);

        h.prompter.answers.enqueue(true);
        h.editing->Image1_dropped("List1");
        QCOMPARE(h.window->List1->count(), 2);
        QCOMPARE(h.counter(), QStringLiteral("Patches in library : 2"));
        QCOMPARE(h.stores.library.size(), std::size_t{4});
        QVERIFY(h.stores.library.entry(2).empty());
        QCOMPARE(h.stores.library.FindInLibrary("Gamma"), std::size_t{3});

        h.files->selectFile(0);
        h.files->cmdLoadPatchlist_clicked();
        QCOMPARE(h.stores.library.FindInLibrary("Beta"), std::size_t{4});
        QCOMPARE(h.counter(), QStringLiteral("Patches in library : 3"));
    }

    void deletingAMatrixPatchEmptiesTheDragOrigin() {
        EditingHarness h;
        const PatchRecord keys = MakeRecord("Keys", 1, 9);
        h.stores.matrix.set(2, 10, keys);
        h.stores.matrix.set(2, 11, MakeRecord("Other", 1, 10));
        h.editing->FlexGrid1_pressed(10, 2);

        h.prompter.answers.enqueue(false);
        h.editing->Image1_dropped("FlexGrid1");
        QCOMPARE(h.prompter.shown.back().text,
                 "Do you want to delete this matrix patch : " + CR + CR + "Bank B-010: Keys ?");
        QCOMPARE(h.prompter.shown.back().title, QStringLiteral("WARNING"));
        QCOMPARE(h.stores.matrix.at(2, 10), keys);

        h.prompter.answers.enqueue(true);
        h.editing->Image1_dropped("FlexGrid1");
        QVERIFY(h.stores.matrix.isEmpty(2, 10));
        QCOMPARE(h.cell(2, 10), QString());
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 1);
    }

    void deletingAFileRemovesItFromDiskAndList() {
        EditingHarness h;
        const QString path = h.writeAndSelect("gone.syx", {MakeRecord("Gone", 0, 0)});
        h.writeAndSelect("kept.syx", {MakeRecord("Kept", 0, 0)});
        h.files->selectFile(0);
        QCOMPARE(h.files->selectedFileName(), QStringLiteral("gone.syx"));

        h.prompter.answers.enqueue(false);
        h.editing->Image1_dropped("File1");
        QCOMPARE(h.prompter.shown.back().text,
                 "Do you want to delete the file : " + CR + CR + "gone.syx ?");
        QCOMPARE(h.prompter.shown.back().title, QStringLiteral("WARNING"));
        QVERIFY(QFile::exists(path));

        h.prompter.answers.enqueue(true);
        h.editing->Image1_dropped("File1");
        QVERIFY(!QFile::exists(path));
        QCOMPARE(h.files->fileCount(), 1);
        QCOMPARE(h.files->fileNameAt(0), QStringLiteral("kept.syx"));
        QVERIFY(!h.files->hasSelectedFile());
        QCOMPARE(h.prompter.shown.size(), 2);
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
        const QFile::Permissions before = QFile::permissions(h.folder.path());
        if (readOnlyFolder)
            QFile::setPermissions(h.folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        else
            QFile::remove(path);

        h.prompter.answers.enqueue(true);
        h.editing->Image1_dropped("File1");
        QFile::setPermissions(h.folder.path(), before);

        QCOMPARE(h.prompter.shown.size(), 2);
        const auto& told = h.prompter.shown.back();
        QVERIFY(!told.question);
        QVERIFY(told.text.contains("stuck.syx"));
        QVERIFY(told.text.contains(readOnlyFolder ? "ermission" : "No such file"));
        QCOMPARE(h.files->fileCount(), 1);  // the list stays as it was
        QVERIFY(h.files->hasSelectedFile());
    }

    void deleteZoneRefreshesTheLibraryCounterAfterEveryDrop() {
        EditingHarness h;
        h.addToLibrary({MakeRecord("Only", 0, 0)});
        h.stores.matrix.set(1, 1, MakeRecord("Cell", 0, 0));
        h.editing->FlexGrid1_pressed(1, 1);
        h.writeAndSelect("f.syx", {MakeRecord("F", 0, 0)});
        const QString sources[] = {"List1", "FlexGrid1", "File1"};
        for (bool selected : {false, true}) {
            if (selected)
                h.window->List1->SelectLibraryEntry("Only");
            for (const QString& source : sources) {
                if (source == "File1" && !selected)
                    h.files->selectFile(-1);
                if (source == "File1" && selected)
                    h.files->selectFile(0);
                h.window->StatusPanel[1]->setText("stale");
                h.editing->Image1_dropped(source);  // every answer is No
                QCOMPARE(h.counter(), QStringLiteral("Patches in library : 1"));
            }
        }
        QCOMPARE(h.stores.matrix.CountMatrixPatches(), 1);
        QCOMPARE(h.files->fileCount(), 1);
    }

    void onlyAGridPatchIsSentFromMidiOut() {
        EditingHarness h;
        h.editing->cmdMIDI_OUT_dropped("FlexGrid1");  // nobody listening yet: nothing happens
        QList<std::pair<int, int>> sent;
        h.editing->sendGridPatch = [&sent](int bank, int slot) { sent.append({bank, slot}); };
        h.stores.matrix.set(6, 3, MakeRecord("Send", 5, 2));
        h.editing->FlexGrid1_pressed(3, 6);
        h.editing->cmdMIDI_OUT_dropped("List1");
        h.editing->cmdMIDI_OUT_dropped("File1");
        QVERIFY(sent.isEmpty());
        h.editing->cmdMIDI_OUT_dropped("FlexGrid1");
        QCOMPARE(sent, (QList<std::pair<int, int>>{{6, 3}}));
    }
};

QTEST_MAIN(DropTest)
#include "test_drops.moc"
