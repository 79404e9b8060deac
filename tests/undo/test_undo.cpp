// Undo and redo as a user meets them in the main window: every kind of step, whether made by a
// drop, a button or a run of many changes, goes back and forth whole with the grid and the
// library list following, by the Edit menu's entries and its keys; then brackets and the bound
// on the history.

#include <QtTest>

#include <QAction>
#include <QMenuBar>
#include <QUndoStack>
#include <functional>
#include <set>

#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "shell/Subsystems.h"
#include "support/MainRig.h"
#include "undo/UndoHistory.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
Bank B(char letter) {
    return *Bank::fromLetter(std::string(1, letter));
}

// The whole program's window over bank A 1..4, C-010 and a library of three, with the history
// empty and the grid's repaints followed.
struct Arranged : test::MainRig {
    Librarian& l = librarian;
    UndoHistory& history = *window.findChild<UndoHistory*>();
    std::set<int> repainted;

    Arranged() : MainRig({InstallSubsystems}) {
        for (int p = 1; p <= 4; ++p)
            l.apply(MakeRecord("A" + std::to_string(p), 0, p - 1, p), LoadTarget::Matrix);
        l.apply(MakeRecord("C10", 2, 9, 10), LoadTarget::Matrix);
        l.apply({MakeRecord("Pad", 5, 0, 20), MakeRecord("Lead", 5, 1, 21),
                 MakeRecord("Bass", 5, 2, 22)},
                LoadTarget::Library);
        history.stack().clear();
        QObject::connect(ui.gridModel, &QAbstractItemModel::dataChanged, [this](auto a, auto b) {
            for (int row = a.row(); row <= b.row(); ++row)
                for (int column = a.column(); column <= b.column(); ++column)
                    repainted.insert(
                        MatrixGridModel::slotAt(ui.gridModel->index(row, column)).index());
        });
    }
    // Whether the contents are these, every slot that differs from other was repainted since
    // the last call, and the library list, its count and the lookups by name agree with the
    // library's entries.
    bool shows(const StoreContents& these, const StoreContents& other) {
        bool all = l.contents() == these;
        for (std::size_t i = 0; i < these.matrix.size(); ++i)
            all = all && (these.matrix[i] == other.matrix[i] || repainted.count(int(i)));
        repainted.clear();
        QStringList names, lines = ui.libraryLines();
        for (const PatchRecord& entry : these.library) {
            const std::string name = entry.empty() ? "" : l.dialect().patchName(entry);
            all = all && (entry.empty() || l.libraryPatch(name) == entry);
            if (!entry.empty())
                names << QString::fromStdString(name);
        }
        names.sort();
        lines.sort();
        return all && lines == names && names.size() == qsizetype(l.library().patchCount()) &&
               ui.StatusPanel[1]->text().endsWith(" " + QString::number(names.size()));
    }
    QString undoText() const { return history.undoAction()->text(); }
    void waitForLoad() { QTRY_VERIFY(!files()->isLoading()); }
};
}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfStepGoesBackAndForthWhole() {
        Arranged a;
        QStringList menus;
        for (QAction* menu : a.window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"Files", "Edit", "Utils", "?"}));
        a.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&a.window));
        // A new name, a name already in the library, and two records for one slot; then a file
        // for Load all that adds two more.
        a.write("pads.syx", MakeRecord("New0", 0, 0, 40) + MakeRecord("Lead", 0, 5, 41) +
                                MakeRecord("New2", 0, 0, 42));
        a.write("more.syx", MakeRecord("X1", 7, 0) + MakeRecord("X2", 7, 1));

        const auto drop = [&a](const char* from, const char* to, bool asked) {
            if (asked)
                a.prompter.answers << true;
            a.context.dragOrigin = At(from);
            if (to)
                emit a.window.droppedOnGrid(DragSource::Grid, At(to));
            else
                emit a.window.droppedOnDeleteZone(DragSource::Grid);
        };
        using Run = std::function<void()>;
        const std::vector<std::pair<QString, Run>> steps = {
            {"Swap A-002 and C-010", [&] { drop("A-2", "C-10", true); }},
            {"Move A-001 to B-003", [&] { drop("A-1", "B-3", false); }},
            {"Delete A-003", [&] { drop("A-3", nullptr, true); }},
            {"Copy Lead to D-001",
             [&] {
                 a.window.selectLibraryEntry("Lead");
                 emit a.window.droppedOnGrid(DragSource::Library, At("D-1"));
             }},
            {"Delete Pad from the library",
             [&] {
                 a.prompter.answers << true;
                 a.window.selectLibraryEntry("Pad");
                 emit a.window.droppedOnDeleteZone(DragSource::Library);
             }},
            {"Swap banks A and B", [&] { a.l.swapBanks(B('A'), B('B')); }},
            {"Copy bank A to C", [&] { a.l.copyBank(B('A'), B('C')); }},
            {"Load pads.syx in Library & Matrix",
             [&] {
                 a.select("pads.syx");
                 QTest::mouseClick(a.ui.cmdLoadPatchListMatrix, Qt::LeftButton);
                 a.waitForLoad();
             }},
            {"Load all",
             [&] {
                 QTest::mouseClick(a.ui.cmdLoadAll, Qt::LeftButton);
                 a.waitForLoad();
             }},
            {"Receive B-003", [&] { a.l.storeReceived(MakeRecord("Got", 1, 2)); }},
            {"Receive banks A, B",
             [&] {
                 StepScope step(a.l, labels::ReceiveBanks({B('A'), B('B')}));
                 for (int p = 0; p < 2 * Program::kCount; ++p)
                     a.l.storeReceived(MakeRecord("R", p % 2, p / 2, p));
             }},
            {"Clear banks A, C and the library",
             [&] {
                 a.l.clear({B('A'), B('C')}, true);
             }},
            {"Restore last session",
             [&] {
                 StoreContents other;
                 other.matrix[At("H-128").index()] = MakeRecord("Other", 7, 127);
                 other.library = {MakeRecord("Kept", 0, 0), PatchRecord(),
                                  MakeRecord("Also", 0, 0)};
                 a.l.restore(other, labels::RestoreSession());
             }},
        };
        int n = 0;
        for (const auto& [label, run] : steps) {
            const QByteArray what = label.toUtf8();
            const StoreContents before = a.l.contents();
            run();
            const StoreContents after = a.l.contents();
            QVERIFY2(after != before, what);
            QCOMPARE(a.undoText(), "Undo " + label);
            a.repainted.clear();

            QTest::keyClick(&a.window, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(a.shows(before, after), what);
            QCOMPARE(a.history.redoAction()->text(), "Redo " + label);
            if (++n % 2)
                QTest::keyClick(&a.window, Qt::Key_Y, Qt::ControlModifier);
            else
                QTest::keyClick(&a.window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(a.shows(after, before), what);
            // Undone from the menu, the same command does the same again, and what was undone
            // cannot come back.
            a.history.undoAction()->trigger();
            run();
            QVERIFY2(a.l.contents() == after && !a.history.redoAction()->isEnabled(), what);
        }
        QVERIFY(a.prompter.answers.isEmpty());
        // Commands that change nothing leave nothing to undo.
        a.l.moveOrSwap(At("H-128"), At("H-128"));
        a.l.deleteFromLibrary("Nobody");
        QCOMPARE(a.undoText(), QStringLiteral("Undo Restore last session"));
    }

    void bracketsAndTheBound() {
        Arranged a;
        a.l.deleteSlot(At("A-4"));
        const StoreContents start = a.l.contents();
        // Nested brackets make one step named by the outermost; undo waits for it to close.
        a.l.beginStep(QStringLiteral("Receive bank D"));
        a.l.storeReceived(MakeRecord("D1", 3, 0));
        QVERIFY(!a.history.undoAction()->isEnabled());
        a.history.undo();
        {
            StepScope inner(a.l, QStringLiteral("Receive D-002"));
            a.l.storeReceived(MakeRecord("D2", 3, 1));
        }
        a.l.endStep();
        QCOMPARE(a.undoText(), QStringLiteral("Undo Receive bank D"));
        a.history.undo();
        QVERIFY(a.l.contents() == start);
        a.history.redo();

        // Only the last steps are kept: with the two above, 7 more than the bound, so undoing
        // all there is stops after the fifth swap.
        StoreContents afterFive;
        for (int i = 0; i < UndoHistory::kStepsKept + 4; ++i) {
            a.l.moveOrSwap(At("A-1"), At("A-2"));
            if (i == 4)
                afterFive = a.l.contents();
        }
        a.l.deleteSlot(At("C-10"));
        while (a.history.undoAction()->isEnabled())
            a.history.undo();
        QVERIFY(a.l.contents() == afterFive);
    }
};

QTEST_MAIN(UndoTest)
#include "test_undo.moc"
