// Drops as the main window announces them once a drag has ended: grid patches moved and
// swapped, library patches copied into slots, and the delete zone, each after its question.

#include <QtTest>

#include <unistd.h>

#include "editing/InstallEditing.h"
#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

using namespace zanq;
using test::At;
using test::MakeRecord;
using test::Moved;

namespace {
const QString CR(kCR);

struct Rig : test::MainRig {
    Rig() : MainRig({InstallSysexFiles, InstallEditing}) {}
    void dropOnGrid(DragSource source, Slot cell) { emit window.droppedOnGrid(source, cell); }
    // What the user sees: library lines | grid names | files [selected file] | library counter.
    QString shown() const {
        QStringList grid;
        for (int index = 0; index < Bank::kCount * Program::kCount; ++index)
            if (!librarian.isEmpty(Slot::fromIndex(index)))
                grid << ui.gridModel->cellText(Slot::fromIndex(index));
        const QString selected = files()->hasSelectedFile() ? files()->selectedFileName() : "";
        return QStringList{ui.libraryLines().join(' '), grid.join(' '),
                           listed().join(' ') + " [" + selected + "]", ui.StatusPanel[1]->text()}
            .join(" | ");
    }
};

QString InUse(const QString& place, const QString& name) {
    return "WARNING ! " + CR + CR + "The matrix " + place +
           " is already in use with patch : " + name + CR + CR;
}
}  // namespace

class DropTest : public QObject {
    Q_OBJECT
private slots:
    void gridPatchesSwapOnlyAfterYes() {
        Rig rig;
        const PatchRecord a = MakeRecord("Alpha", 0, 0, 1), b = MakeRecord("Beta", 2, 4, 2);
        rig.librarian.place(At("A-1"), a);
        rig.librarian.place(At("C-5"), b);
        rig.dropOnGrid(DragSource::Grid, At("A-1"));  // no press yet: nothing to move
        rig.context.dragOrigin = At("A-1");
        rig.dropOnGrid(DragSource::Grid, At("A-1"));  // its own cell
        QVERIFY(rig.prompter.shown.isEmpty());

        for (bool yes : {false, true}) {
            rig.prompter.answers.enqueue(yes);
            rig.dropOnGrid(DragSource::Grid, At("C-5"));
        }
        QCOMPARE(rig.prompter.shown.size(), 2);
        const auto& asked = rig.prompter.shown.front();
        QCOMPARE(asked.text, InUse("Bank C-005", "Beta") + "Do you want to swap these 2 patches ?");
        QCOMPARE(asked.title, kAppTitle);
        QCOMPARE(asked.icon, QMessageBox::Warning);
        QCOMPARE(rig.librarian.at(At("C-5")), Moved(a, At("C-5")));
        QCOMPARE(rig.librarian.at(At("A-1")), Moved(b, At("A-1")));
    }

    void libraryPatchIsCopiedOnlyFromASelectedLineToACell() {
        Rig rig;
        const PatchRecord strings = MakeRecord("Strings", 6, 100, 4);
        rig.librarian.apply({MakeRecord("Bass", 0, 1), strings}, LoadTarget::Library);
        rig.dropOnGrid(DragSource::Library, At("C-3"));  // no line selected
        rig.window.selectLibraryEntry("Strings");
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 0);

        // Empty slots take copies without a question, each with its own slot bytes.
        rig.dropOnGrid(DragSource::Library, At("A-1"));
        rig.dropOnGrid(DragSource::Library, At("H-128"));
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.librarian.at(At("A-1")), Moved(strings, At("A-1")));
        QCOMPARE(rig.librarian.at(At("H-128")), Moved(strings, At("H-128")));

        const PatchRecord organ = MakeRecord("Organ", 4, 20);
        rig.librarian.place(At("E-21"), organ);
        rig.prompter.answers.enqueue(false);
        rig.dropOnGrid(DragSource::Library, At("E-21"));
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(
            rig.prompter.shown[0].text,
            InUse("Bank E-021", "Organ") + "Do you want to overwrite it (Patch will be lost) ?");
        QCOMPARE(rig.prompter.shown[0].title, QStringLiteral("Warning"));
        QCOMPARE(rig.librarian.at(At("E-21")), organ);

        rig.prompter.answers.enqueue(true);
        rig.dropOnGrid(DragSource::Library, At("E-21"));
        QCOMPARE(rig.librarian.at(At("E-21")), Moved(strings, At("E-21")));
        QCOMPARE(rig.librarian.libraryPatch("Strings"), std::optional(strings));
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
        Rig rig;
        rig.write("bank.syx",
                  MakeRecord("Alpha", 0, 0) + MakeRecord("Beta", 0, 1) + MakeRecord("Gamma", 0, 2));
        rig.select("bank.syx");
        rig.files()->cmdLoadPatchlist_clicked();
        const QString gone = rig.write("gone.syx", MakeRecord("Gone", 0, 0));
        rig.select(selected ? "gone.syx" : "");
        rig.librarian.place(At("B-10"), MakeRecord("Keys", 1, 9));
        rig.librarian.place(At("B-11"), MakeRecord("Other", 1, 10));
        rig.context.dragOrigin = At("B-10");
        if (selected)
            rig.window.selectLibraryEntry("Beta");
        const QString before = rig.shown();

        for (bool yes : {false, true}) {
            rig.prompter.answers.enqueue(yes);
            emit rig.window.droppedOnDeleteZone(source);
            QCOMPARE(rig.shown(), yes && selected ? afterYes : before);
        }
        QCOMPARE(QFile::exists(gone), source != DragSource::Files || !selected);
        QCOMPARE(rig.prompter.shown.size(), selected ? 2 : 0);
        for (const auto& asked : rig.prompter.shown) {
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
        Rig rig;
        const QString path = rig.write("stuck.syx", MakeRecord("Stuck", 0, 0));
        rig.select("stuck.syx");
        const QString before = rig.shown();
        const QFile::Permissions permissions = QFile::permissions(rig.dir.path());
        if (readOnlyFolder)
            QFile::setPermissions(rig.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        else
            QFile::remove(path);

        rig.prompter.answers.enqueue(true);
        emit rig.window.droppedOnDeleteZone(DragSource::Files);
        QFile::setPermissions(rig.dir.path(), permissions);

        QCOMPARE(rig.prompter.shown.size(), 2);
        const auto& told = rig.prompter.shown.back();
        QVERIFY(!told.question && told.text.contains("stuck.syx"));
        QVERIFY(told.text.contains(readOnlyFolder ? "ermission" : "No such file"));
        QCOMPARE(rig.shown(), before);  // the list and its selection stay as they were
    }
};

QTEST_MAIN(DropTest)
#include "test_drops.moc"
