// Undo and redo over the Librarian's steps: every kind of command taken back and done again,
// sequences, the bound on the history, brackets, and the Edit menu with the grid and the
// library list showing what undo brings back.

#include <QtTest>

#include <QAction>
#include <QMenuBar>
#include <QUndoStack>
#include <functional>
#include <set>

#include "editing/DragSource.h"
#include "editing/EditingCommands.h"
#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "shell/ClickableLabel.h"
#include "shell/Subsystems.h"
#include "shell/frmMain.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "undo/UndoHistory.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
// Bank A 1..4, C-010, and a library of three, some of whose names also sit in the Matrix.
struct Arranged {
    test::TestLibrarian t;
    Librarian& l = t.librarian;
    UndoHistory history{l};

    Arranged() {
        {
            StepScope setUp(l, QStringLiteral("Set up"));
            for (int p = 1; p <= 4; ++p)
                l.apply(MakeRecord("A" + std::to_string(p), 0, p - 1, p), LoadTarget::Matrix);
            l.apply(MakeRecord("C10", 2, 9, 10), LoadTarget::Matrix);
            l.apply({MakeRecord("Pad", 5, 0, 20), MakeRecord("Lead", 5, 1, 21),
                     MakeRecord("Bass", 5, 2, 22)},
                    LoadTarget::Library);
        }
        history.stack().clear();
    }

    // Grid cells the model told its views to repaint since the last call.
    MatrixGridModel grid{l};
    std::set<int> repainted;
    QMetaObject::Connection watch = QObject::connect(
        &grid, &QAbstractItemModel::dataChanged, [this](QModelIndex from, QModelIndex to) {
            for (int row = from.row(); row <= to.row(); ++row)
                for (int column = from.column(); column <= to.column(); ++column)
                    repainted.insert(MatrixGridModel::slotAt(grid.index(row, column)).index());
        });
    // Whether every slot that differs between the two was repainted.
    bool repaintedChanges(const StoreContents& a, const StoreContents& b) {
        bool all = true;
        for (std::size_t i = 0; i < a.matrix.size(); ++i)
            all = all && (a.matrix[i] == b.matrix[i] || repainted.count(static_cast<int>(i)));
        repainted.clear();
        return all;
    }

    QString undoText() const { return history.undoAction()->text(); }
    QString redoText() const { return history.redoAction()->text(); }
};

// The library's name lookups and count agree with its entries (undo rebuilt them too).
bool LookupsAgree(const Librarian& l) {
    std::size_t patches = 0;
    for (std::size_t i = 1; i < l.library().size(); ++i) {
        const PatchRecord& entry = l.library().entry(i);
        if (entry.empty())
            continue;
        ++patches;
        if (l.library().FindInLibrary(l.library().nameAt(i)) != i)
            return false;
    }
    return patches == l.library().patchCount();
}

struct Command {
    QString label;
    std::function<void(Librarian&)> run;
};
}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfStepGoesBackAndForthWhole() {
        const PatchRecord fetched = MakeRecord("Fetched", 1, 2, 30);
        const std::vector<Command> commands = {
            {"Move A-001 to B-003", [](Librarian& l) { l.moveOrSwap(At("A-1"), At("B-3")); }},
            {"Swap A-002 and C-010", [](Librarian& l) { l.moveOrSwap(At("A-2"), At("C-10")); }},
            {"Copy Lead to C-010", [](Librarian& l) { l.copyFromLibrary("Lead", At("C-10")); }},
            {"Delete A-003", [](Librarian& l) { l.deleteSlot(At("A-3")); }},
            {"Delete Pad from the library", [](Librarian& l) { l.deleteFromLibrary("Pad"); }},
            {"Copy bank A to C",
             [](Librarian& l) { l.copyBank(Bank::fromNumber(1), Bank::fromNumber(3)); }},
            {"Swap banks A and C",
             [](Librarian& l) { l.swapBanks(Bank::fromNumber(1), Bank::fromNumber(3)); }},
            {"Clear banks A, C and the library",
             [](Librarian& l) {
                 l.clear({Bank::fromNumber(1), Bank::fromNumber(3)}, true);
             }},
            {"Load pads.syx in Library & Matrix",
             [](Librarian& l) {
                 StepScope step(l, labels::Load(QStringLiteral("pads.syx"), LoadTarget::Both));
                 // A new name, a name already in the library, and two records for one slot.
                 for (const PatchRecord& r :
                      {MakeRecord("New", 0, 0, 40), MakeRecord("Pad", 0, 5, 41),
                       MakeRecord("Later", 0, 0, 42)})
                     l.apply(r, LoadTarget::Both);
             }},
            {"Load all",
             [](Librarian& l) {
                 StepScope step(l, labels::LoadAll());
                 l.apply({MakeRecord("X1", 7, 0, 50), MakeRecord("X2", 7, 1, 51)},
                         LoadTarget::Library);
                 l.apply({MakeRecord("X3", 7, 2, 52)}, LoadTarget::Library);
             }},
            {"Receive B-003", [&](Librarian& l) { l.storeReceived(fetched); }},
            {"Receive banks A, B",
             [](Librarian& l) {
                 StepScope step(l,
                                labels::ReceiveBanks({Bank::fromNumber(1), Bank::fromNumber(2)}));
                 for (int p = 0; p < Program::kCount; ++p) {
                     l.storeReceived(MakeRecord("RA", 0, p, 60 + p));
                     l.storeReceived(MakeRecord("RB", 1, p, 70 + p));
                 }
             }},
            {"Restore last session",
             [](Librarian& l) {
                 StoreContents other;
                 other.matrix[At("H-128").index()] = MakeRecord("Other", 7, 127, 80);
                 other.library = {MakeRecord("Kept", 0, 0, 81), PatchRecord(),
                                  MakeRecord("Also", 0, 0, 82)};
                 l.restore(other, labels::RestoreSession());
             }},
        };
        for (const Command& command : commands) {
            Arranged a;
            const StoreContents before = a.l.contents();
            command.run(a.l);
            const StoreContents after = a.l.contents();
            const QByteArray what = command.label.toUtf8();
            QVERIFY2(after != before, what);
            QCOMPARE(a.history.stack().count(), 1);
            QCOMPARE(a.undoText(), "Undo " + command.label);

            a.repainted.clear();
            a.history.undo();
            QVERIFY2(a.l.contents() == before, what);
            QVERIFY2(LookupsAgree(a.l), what);
            QVERIFY2(a.repaintedChanges(before, after), what);
            QCOMPARE(a.redoText(), "Redo " + command.label);

            a.history.redo();
            QVERIFY2(a.l.contents() == after, what);
            QVERIFY2(LookupsAgree(a.l), what);
            QVERIFY2(a.repaintedChanges(before, after), what);
        }
    }

    void sequencesAndTheBoundOnHistory() {
        Arranged a;
        const StoreContents start = a.l.contents();
        a.l.moveOrSwap(At("A-1"), At("B-1"));
        const StoreContents moved = a.l.contents();
        a.l.deleteFromLibrary("Bass");
        a.history.undo();
        a.history.undo();
        QVERIFY(a.l.contents() == start);
        a.history.redo();
        QVERIFY(a.l.contents() == moved);
        QVERIFY(a.history.redoAction()->isEnabled());

        // Something else done after an undo: what was undone cannot come back.
        a.l.clear({Bank::fromNumber(1)}, false);
        QVERIFY(!a.history.redoAction()->isEnabled());
        QCOMPARE(a.redoText(), QStringLiteral("Redo"));
        QCOMPARE(a.undoText(), QStringLiteral("Undo Clear bank A"));
        a.history.undo();
        a.history.undo();
        QVERIFY(a.l.contents() == start);
        QVERIFY(!a.history.undoAction()->isEnabled());

        // Only the last steps are kept: after 5 more than the bound (the last one a delete),
        // undoing all there is stops 5 steps in.
        const int extra = 5;
        StoreContents afterExtra;
        for (int i = 0; i < UndoHistory::kStepsKept + extra - 1; ++i) {
            a.l.moveOrSwap(At("A-1"), At("A-2"));
            if (i == extra - 1)
                afterExtra = a.l.contents();
        }
        a.l.deleteSlot(At("C-10"));  // a patch gone for good once its step leaves the history
        while (a.history.undoAction()->isEnabled())
            a.history.undo();
        QCOMPARE(a.history.stack().count(), UndoHistory::kStepsKept);
        QVERIFY(a.l.contents() == afterExtra);
    }

    void stepsHoldOnlyTheirChangesAndBracketsMakeOne() {
        Arranged a;
        std::vector<ChangeSetPtr> steps;
        connect(&a.l, &Librarian::stepRecorded, [&](ChangeSetPtr s) { steps.push_back(s); });

        a.l.copyBank(Bank::fromNumber(1), Bank::fromNumber(5));  // 4 patches onto an empty bank
        a.l.moveOrSwap(At("A-1"), At("H-1"));
        a.l.deleteFromLibrary("Lead");
        QCOMPARE(steps.size(), std::size_t(3));
        QCOMPARE(steps[0]->matrix.size(), std::size_t(4));
        QCOMPARE(steps[1]->matrix.size(), std::size_t(2));
        QCOMPARE(steps[2]->matrix.size() + steps[2]->library.size(), std::size_t(1));

        // Commands that change nothing leave nothing to undo.
        a.l.moveOrSwap(At("A-2"), At("A-2"));
        a.l.deleteFromLibrary("Nobody");
        QVERIFY(!a.l.copyFromLibrary("Nobody", At("A-2")));
        QVERIFY(!a.l.storeReceived("not a record"));
        {
            StepScope step(a.l, QStringLiteral("There and back"));
            a.l.moveOrSwap(At("A-2"), At("G-7"));
            a.l.moveOrSwap(At("G-7"), At("A-2"));
        }
        QCOMPARE(steps.size(), std::size_t(3));

        // Nested brackets make one step named by the outermost; undo waits for it to close.
        const StoreContents before = a.l.contents();
        a.l.beginStep(QStringLiteral("Receive bank D"));
        a.l.storeReceived(MakeRecord("D1", 3, 0));
        QVERIFY(!a.history.undoAction()->isEnabled());
        a.history.undo();
        QCOMPARE(a.l.at(At("D-1")).size(), kRecordLength);
        {
            StepScope inner(a.l, QStringLiteral("Receive D-002"));
            a.l.storeReceived(MakeRecord("D2", 3, 1));
        }
        a.l.endStep();
        QCOMPARE(steps.size(), std::size_t(4));
        QCOMPARE(a.undoText(), QStringLiteral("Undo Receive bank D"));
        a.history.undo();
        QVERIFY(a.l.contents() == before);
    }

    void editMenuAndTheWindowFollowUndo() {
        test::TestLibrarian t;
        test::ScriptedPrompter prompter;
        AppContext context{t.librarian, prompter, QDir::tempPath()};
        frmMain window(context);
        InstallSubsystems(window, context);
        Librarian& l = t.librarian;

        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"Files", "Edit", "Utils", "?"}));
        auto* undo = window.findChild<QAction*>(QStringLiteral("mnuUndo"));
        auto* redo = window.findChild<QAction*>(QStringLiteral("mnuRedo"));
        QVERIFY(undo && redo);
        QVERIFY(undo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Z"))));
        QVERIFY(redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
        QVERIFY(redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));

        l.apply({MakeRecord("Keys", 1, 2, 1), MakeRecord("Strings", 2, 9, 2)}, LoadTarget::Both);
        window.List1->SelectLibraryEntry(QStringLiteral("Keys"));
        prompter.answers << true << true;
        auto* editing = window.findChild<EditingCommands*>();
        editing->FlexGrid1_pressed(At("B-3"));
        editing->FlexGrid1_dropped(kGridSource, At("C-10"));
        editing->Image1_dropped(kLibrarySource);
        const auto shows = [&](const char* b3, const char* c10, QStringList lines) {
            QStringList listed;
            for (int row = 0; row < window.List1->count(); ++row)
                listed << window.List1->item(row)->text();
            return window.gridModel->cellText(At("B-3")) == QLatin1String(b3) &&
                   window.gridModel->cellText(At("C-10")) == QLatin1String(c10) &&
                   listed == lines &&
                   window.StatusPanel[1]->text() ==
                       QStringLiteral("Patches in library : %1").arg(lines.size());
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
