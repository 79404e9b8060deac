// Undo and redo in the main window: every kind of step back and forth whole by menu and keys,
// brackets, and the bound on the history.

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
            l.apply(MakeRecord(std::string{'A', char('0' + p)}, 0, p - 1, p), LoadTarget::Matrix);
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
        for (const PatchRecord& entry : these.library)
            if (!entry.empty()) {
                names << QString::fromStdString(l.dialect().patchName(entry));
                all = all && l.libraryPatch(names.last().toStdString()) == entry;
            }
        names.sort();
        lines.sort();
        return all && lines == names &&
               ui.StatusPanel[1]->text().endsWith(" " + QString::number(names.size()));
    }
    QString undoText() const { return history.undoAction()->text(); }
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
        // on either side of it that Load all adds.
        a.write("pads.syx", MakeRecord("New0", 0, 0, 40) + MakeRecord("Lead", 0, 5, 41) +
                                MakeRecord("New2", 0, 0, 42));
        a.write("a.syx", MakeRecord("X1", 7, 0));
        a.write("z.syx", MakeRecord("X2", 7, 1));

        // A drag from a cell or a library line onto a cell or the bin (to nullptr).
        const auto drop = [&a](DragSource from, const char* what, const char* to, bool asked) {
            if (asked)
                a.prompter.answers << true;
            if (from == DragSource::Grid)
                a.context.dragOrigin = At(what);
            else
                a.window.selectLibraryEntry(what);
            if (to)
                emit a.window.droppedOnGrid(from, At(to));
            else
                emit a.window.droppedOnDeleteZone(from);
        };
        const auto load = [&a](QPushButton* button, const char* file) {
            if (file)
                a.select(file);
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_VERIFY(!a.files()->isLoading());
        };
        const DragSource cell = DragSource::Grid, line = DragSource::Library;
        using Run = std::function<void()>;
        const std::vector<std::pair<QString, Run>> steps = {
            {"Swap A-002 and C-010", [&] { drop(cell, "A-2", "C-10", true); }},
            {"Move A-001 to B-003", [&] { drop(cell, "A-1", "B-3", false); }},
            {"Delete A-003", [&] { drop(cell, "A-3", nullptr, true); }},
            {"Copy Lead to D-001", [&] { drop(line, "Lead", "D-1", false); }},
            {"Delete Pad from the library", [&] { drop(line, "Pad", nullptr, true); }},
            {"Swap banks A and B", [&] { a.l.swapBanks(B('A'), B('B')); }},
            {"Copy bank A to C", [&] { a.l.copyBank(B('A'), B('C')); }},
            {"Load pads.syx in Library & Matrix",
             [&] { load(a.ui.cmdLoadPatchListMatrix, "pads.syx"); }},
            {"Load all", [&] { load(a.ui.cmdLoadAll, nullptr); }},
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
