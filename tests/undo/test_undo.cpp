// Undo and redo over the Librarian's steps: every kind of command taken back and done again
// with its repaints, sequences, the bound on the history, brackets, and the Edit menu with the
// grid and the library list showing what undo brings back.

#include <QtTest>

#include <QAction>
#include <QMenuBar>
#include <QUndoStack>
#include <functional>
#include <set>

#include "model/MatrixGridModel.h"
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

// Bank A 1..4, C-010 and a library of three, with the history empty and the grid's repaints
// followed.
struct Arranged {
    test::TestLibrarian t;
    Librarian& l = t.librarian;
    UndoHistory history{l};
    MatrixGridModel grid{l};
    std::set<int> repainted;

    Arranged() {
        for (int p = 1; p <= 4; ++p)
            l.apply(MakeRecord("A" + std::to_string(p), 0, p - 1, p), LoadTarget::Matrix);
        l.apply(MakeRecord("C10", 2, 9, 10), LoadTarget::Matrix);
        l.apply({MakeRecord("Pad", 5, 0, 20), MakeRecord("Lead", 5, 1, 21),
                 MakeRecord("Bass", 5, 2, 22)},
                LoadTarget::Library);
        history.stack().clear();
        QObject::connect(&grid, &QAbstractItemModel::dataChanged, [this](auto from, auto to) {
            for (int row = from.row(); row <= to.row(); ++row)
                for (int column = from.column(); column <= to.column(); ++column)
                    repainted.insert(MatrixGridModel::slotAt(grid.index(row, column)).index());
        });
    }
    // Whether every slot that differs between a and b was repainted since the last call.
    bool repaintedChanges(const StoreContents& a, const StoreContents& b) {
        bool all = true;
        for (std::size_t i = 0; i < a.matrix.size(); ++i)
            all = all && (a.matrix[i] == b.matrix[i] || repainted.count(static_cast<int>(i)));
        repainted.clear();
        return all;
    }
    // Whether the library's lookups by name and its count agree with its entries.
    bool lookupsAgree() const {
        std::size_t patches = 0;
        for (const PatchRecord& entry : l.contents().library)
            if (!entry.empty() && ++patches &&
                l.libraryPatch(l.dialect().patchName(entry)) != entry)
                return false;
        return patches == l.library().patchCount();
    }
    QString undoText() const { return history.undoAction()->text(); }
};
}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfStepGoesBackAndForthWhole() {
        using Run = std::function<void(Librarian&)>;
        const std::vector<std::pair<QString, Run>> commands = {
            {"Move A-001 to B-003", [](Librarian& l) { l.moveOrSwap(At("A-1"), At("B-3")); }},
            {"Swap A-002 and C-010", [](Librarian& l) { l.moveOrSwap(At("A-2"), At("C-10")); }},
            {"Copy Lead to C-010", [](Librarian& l) { l.copyFromLibrary("Lead", At("C-10")); }},
            {"Delete A-003", [](Librarian& l) { l.deleteSlot(At("A-3")); }},
            {"Delete Pad from the library", [](Librarian& l) { l.deleteFromLibrary("Pad"); }},
            {"Copy bank A to C", [](Librarian& l) { l.copyBank(B('A'), B('C')); }},
            {"Swap banks A and C", [](Librarian& l) { l.swapBanks(B('A'), B('C')); }},
            {"Clear banks A, C and the library",
             [](Librarian& l) {
                 l.clear({B('A'), B('C')}, true);
             }},
            {"Load pads.syx in Library & Matrix",
             [](Librarian& l) {
                 StepScope step(l, labels::Load(QStringLiteral("pads.syx"), LoadTarget::Both));
                 // A new name, a name already in the library, and two records for one slot.
                 for (int i : {0, 1, 2})
                     l.apply(MakeRecord(i == 1 ? "Pad" : "New" + std::to_string(i), 0, i % 2 * 5,
                                        40 + i),
                             LoadTarget::Both);
             }},
            {"Load all",
             [](Librarian& l) {
                 StepScope step(l, labels::LoadAll());
                 l.apply({MakeRecord("X1", 7, 0), MakeRecord("X2", 7, 1)}, LoadTarget::Library);
                 l.apply({MakeRecord("X3", 7, 2)}, LoadTarget::Library);
             }},
            {"Receive B-003", [](Librarian& l) { l.storeReceived(MakeRecord("Got", 1, 2)); }},
            {"Receive banks A, B",
             [](Librarian& l) {
                 StepScope step(l, labels::ReceiveBanks({B('A'), B('B')}));
                 for (int p = 0; p < 2 * Program::kCount; ++p)
                     l.storeReceived(MakeRecord("R", p % 2, p / 2, p));
             }},
            {"Restore last session",
             [](Librarian& l) {
                 StoreContents other;
                 other.matrix[At("H-128").index()] = MakeRecord("Other", 7, 127);
                 other.library = {MakeRecord("Kept", 0, 0), PatchRecord(),
                                  MakeRecord("Also", 0, 0)};
                 l.restore(other, labels::RestoreSession());
             }},
        };
        for (const auto& [label, run] : commands) {
            Arranged a;
            const StoreContents before = a.l.contents();
            run(a.l);
            const StoreContents after = a.l.contents();
            const QByteArray what = label.toUtf8();
            QVERIFY2(after != before, what);
            QCOMPARE(a.history.stack().count(), 1);
            QCOMPARE(a.undoText(), "Undo " + label);
            a.repainted.clear();

            a.history.undo();
            QVERIFY2(a.l.contents() == before && a.lookupsAgree(), what);
            QVERIFY2(a.repaintedChanges(before, after), what);
            QCOMPARE(a.history.redoAction()->text(), "Redo " + label);
            a.history.redo();
            QVERIFY2(a.l.contents() == after && a.lookupsAgree(), what);
            QVERIFY2(a.repaintedChanges(before, after), what);
            // Undone, the same command does the same again.
            a.history.undo();
            run(a.l);
            QVERIFY2(a.l.contents() == after, what);
        }
    }

    void sequencesBracketsAndTheBound() {
        Arranged a;
        std::vector<ChangeSetPtr> steps;
        connect(&a.l, &Librarian::stepRecorded, [&](ChangeSetPtr s) { steps.push_back(s); });
        const StoreContents start = a.l.contents();

        // A step keeps only what changed: 4 patches copied onto an empty bank, one entry.
        a.l.copyBank(B('A'), B('E'));
        a.l.deleteFromLibrary("Bass");
        QCOMPARE(steps.at(0)->matrix.size(), std::size_t(4));
        QCOMPARE(steps.at(1)->matrix.size() + steps.at(1)->library.size(), std::size_t(1));
        // Commands that change nothing leave nothing to undo.
        a.l.moveOrSwap(At("A-2"), At("A-2"));
        a.l.deleteFromLibrary("Nobody");
        QCOMPARE(steps.size(), std::size_t(2));

        // Undone twice, redone once, then something else: the second cannot come back.
        a.history.undo();
        a.history.undo();
        QVERIFY(a.l.contents() == start);
        a.history.redo();
        a.l.clear({B('A')}, false);
        QVERIFY(!a.history.redoAction()->isEnabled());
        QCOMPARE(a.undoText(), QStringLiteral("Undo Clear bank A"));

        // Nested brackets make one step named by the outermost; undo waits for it to close.
        const StoreContents beforeReceive = a.l.contents();
        a.l.beginStep(QStringLiteral("Receive bank D"));
        a.l.storeReceived(MakeRecord("D1", 3, 0));
        QVERIFY(!a.history.undoAction()->isEnabled());
        a.history.undo();
        QVERIFY(!a.l.isEmpty(At("D-1")));
        {
            StepScope inner(a.l, QStringLiteral("Receive D-002"));
            a.l.storeReceived(MakeRecord("D2", 3, 1));
        }
        a.l.endStep();
        QCOMPARE(a.undoText(), QStringLiteral("Undo Receive bank D"));
        a.history.undo();
        QVERIFY(a.l.contents() == beforeReceive);
        QCOMPARE(a.undoText(), QStringLiteral("Undo Clear bank A"));

        // Only the last steps are kept: with the two above, 7 more than the bound, so undoing
        // all there is stops after the fifth swap.
        StoreContents afterFive;
        for (int i = 0; i < UndoHistory::kStepsKept + 4; ++i) {
            a.l.moveOrSwap(At("E-2"), At("E-3"));
            if (i == 4)
                afterFive = a.l.contents();
        }
        a.l.deleteSlot(At("C-10"));
        while (a.history.undoAction()->isEnabled())
            a.history.undo();
        QVERIFY(a.l.contents() == afterFive);
    }

    void editMenuAndTheWindowFollowUndo() {
        test::MainRig rig({InstallSubsystems});
        frmMain& window = rig.window;
        const test::MainUi& ui = rig.ui;

        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"Files", "Edit", "Utils", "?"}));
        auto* undo = window.findChild<QAction*>(QStringLiteral("mnuUndo"));
        auto* redo = window.findChild<QAction*>(QStringLiteral("mnuRedo"));
        QVERIFY(undo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Z"))) &&
                redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))) &&
                redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));

        rig.librarian.apply({MakeRecord("Keys", 1, 2), MakeRecord("Strings", 2, 9)},
                            LoadTarget::Both);
        rig.prompter.answers << true << true;
        rig.context.dragOrigin = At("B-3");
        emit window.droppedOnGrid(DragSource::Grid, At("C-10"));
        window.selectLibraryEntry(QStringLiteral("Keys"));
        emit window.droppedOnDeleteZone(DragSource::Library);
        const auto shows = [&](const char* b3, const char* c10, QStringList lines) {
            return ui.gridModel->cellText(At("B-3")) == QLatin1String(b3) &&
                   ui.gridModel->cellText(At("C-10")) == QLatin1String(c10) &&
                   ui.libraryLines() == lines &&
                   ui.StatusPanel[1]->text().endsWith(QString::number(lines.size()));
        };
        QVERIFY(shows("Strings", "Keys", {"Strings"}));
        QCOMPARE(undo->text(), QStringLiteral("Undo Delete Keys from the library"));

        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(shows("Strings", "Keys", {"Keys", "Strings"}));
        undo->trigger();
        QCOMPARE(redo->text(), QStringLiteral("Redo Swap B-003 and C-010"));
        QVERIFY(shows("Keys", "Strings", {"Keys", "Strings"}));
        QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(shows("Strings", "Keys", {"Keys", "Strings"}));
        undo->trigger();
        undo->trigger();
        QVERIFY(shows("", "", {}));
    }
};

QTEST_MAIN(UndoTest)
#include "test_undo.moc"
