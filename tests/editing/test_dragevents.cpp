// Real drags with Qt's own drag loop: what a drag carries, where it may end, what it does
// there, and drags that are not this program's.

#include <QtTest>
#include <QtWidgets>

#include "editing/InstallEditing.h"
#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Presses at from on the source, moves far enough for a drag, and while that drag runs lets it
// enter and drop on target at to; then ends the drag. Tells what happened: nothing when no drag
// began, else the source name the drag carried, then "picture", "entered" and "dropped", each
// as "-" when it did not hold.
QString DragAndDrop(QWidget* source, QPoint from, QWidget* target, QPoint to) {
    QStringList outcome;
    QWidget* owner = source->parentWidget();  // the view that owns the viewport
    QObject script;                           // takes the unused script away when no drag ran
    QTimer::singleShot(0, &script, [&] {
        QDrag* drag = owner->findChild<QDrag*>();
        if (!drag)
            return;
        outcome << QString::fromLatin1(drag->mimeData()->data(kDragSourceMime));
        outcome << (drag->pixmap().isNull() ? "-" : "picture");
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(to, actions, drag->mimeData(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        outcome << (enter.isAccepted() ? "entered" : "-");
        QDropEvent drop(to, actions, drag->mimeData(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        outcome << (drop.isAccepted() ? "dropped" : "-");
        QDrag::cancel();
    });
    SendMouse(source, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    const QPoint away = from + QPoint(QApplication::startDragDistance() + 3, 0);
    SendMouse(source, QEvent::MouseMove, away, Qt::NoButton, Qt::LeftButton);
    if (outcome.isEmpty())
        SendMouse(source, QEvent::MouseButtonRelease, away, Qt::LeftButton, Qt::NoButton);
    return outcome.join(' ');
}

QPoint CellCentre(const test::MainRig& rig, Slot slot) {
    return rig.ui.FlexGrid1->visualRect(rig.ui.gridModel->indexOf(slot)).center();
}
}  // namespace

class DragEventTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainRig> rig;

private slots:
    void init() {
        rig = std::make_unique<test::MainRig>(
            std::vector<test::Install>{InstallSysexFiles, InstallEditing});
        rig->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig->window));
    }
    void cleanup() { rig.reset(); }

    void gridDragMovesAPatchToTheCellUnderThePointer() {
        const PatchRecord pad = MakeRecord("Pad", 1, 2);
        rig->librarian.place(At("B-3"), pad);
        QWidget* grid = rig->ui.FlexGrid1->viewport();
        QCOMPARE(DragAndDrop(grid, CellCentre(*rig, At("B-3")), grid, CellCentre(*rig, At("E-6"))),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(rig->librarian.at(At("E-6")), test::Moved(pad, At("E-6")));
        QVERIFY(rig->librarian.isEmpty(At("B-3")));
        // A press on an empty slot starts no drag, but marks the origin.
        QCOMPARE(DragAndDrop(grid, CellCentre(*rig, At("D-9")), grid, CellCentre(*rig, At("A-1"))),
                 QString());
        QCOMPARE(rig->context.dragOrigin, std::optional(At("D-9")));
    }

    void listAndFileDragsReachTheirTargets() {
        rig->librarian.apply({MakeRecord("Bell", 0, 0), MakeRecord("Choir", 0, 1)},
                             LoadTarget::Library);
        auto* list = rig->ui.List1;
        const QPoint line = list->visualItemRect(list->lineNamed("Choir")).center();
        rig->prompter.answers.enqueue(true);
        QCOMPARE(DragAndDrop(list->viewport(), line, rig->ui.Image1, {5, 5}),
                 QStringLiteral("List1 picture entered dropped"));
        QTRY_VERIFY(!list->lineNamed("Choir"));

        rig->write("bank.syx", MakeRecord("Brass", 3, 3) + MakeRecord("Flute", 3, 4));
        rig->select("bank.syx");
        auto* files = rig->ui.File1;
        const QPoint file = files->visualRect(files->model()->index(0, 0)).center();
        QCOMPARE(DragAndDrop(files->viewport(), file, list->viewport(), {5, 5}),
                 QStringLiteral("File1 picture entered dropped"));
        QTRY_COMPARE(list->count(), 3);
    }

    void gridDragIsRefusedByTheLibraryAndADisabledMidiOut() {
        rig->librarian.place(At("A-1"), MakeRecord("Pad", 0, 0));
        QWidget* grid = rig->ui.FlexGrid1->viewport();
        const QPoint cell = CellCentre(*rig, At("A-1"));
        QPushButton* out = rig->ui.cmdMIDI_OUT;
        QCOMPARE(DragAndDrop(grid, cell, rig->ui.List1->viewport(), {5, 5}),
                 QStringLiteral("FlexGrid1 picture - -"));
        QCOMPARE(DragAndDrop(grid, cell, out, {5, 5}), QStringLiteral("FlexGrid1 picture - -"));

        QSignalSpy toMidiOut(&rig->window, &frmMain::droppedOnMidiOut);
        out->setEnabled(true);
        QCOMPARE(DragAndDrop(grid, cell, out, {5, 5}),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(toMidiOut.size(), 1);
        QCOMPARE(toMidiOut[0][0].value<DragSource>(), DragSource::Grid);
        QCOMPARE(rig->ui.List1->count(), 0);
    }

    void foreignDragsAreIgnored() {
        rig->librarian.place(At("A-1"), MakeRecord("Pad", 0, 0));
        rig->librarian.apply(MakeRecord("Bell", 0, 0), LoadTarget::Library);
        rig->window.selectLibraryEntry("Bell");
        rig->context.dragOrigin = At("A-1");
        rig->ui.cmdMIDI_OUT->setEnabled(true);

        QMimeData text, urls, oursWithoutDrag;  // the last: our type, but no drag of ours under way
        text.setText("FlexGrid1");
        urls.setUrls({QUrl::fromLocalFile(rig->dir.filePath("x.syx"))});
        oursWithoutDrag.setData(kDragSourceMime, "List1");
        const std::pair<QWidget*, QPoint> targets[] = {
            {rig->ui.FlexGrid1->viewport(), CellCentre(*rig, At("C-3"))},
            {rig->ui.List1->viewport(), {5, 5}},
            {rig->ui.Image1, {5, 5}},
            {rig->ui.cmdMIDI_OUT, {5, 5}},
        };
        for (const QMimeData* mime : {&text, &urls, &oursWithoutDrag}) {
            for (auto [target, pos] : targets) {
                QDragEnterEvent enter(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(target, &enter);
                QVERIFY(!enter.isAccepted());
                QDropEvent drop(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(target, &drop);
                QVERIFY(!drop.isAccepted());
            }
        }
        QCoreApplication::processEvents();  // a drop that slipped through would be handled now
        QVERIFY(rig->prompter.shown.isEmpty());
        QCOMPARE(rig->librarian.matrix().CountMatrixPatches(), 1);
        QCOMPARE(rig->ui.List1->count(), 1);
    }
};

QTEST_MAIN(DragEventTest)
#include "test_dragevents.moc"
