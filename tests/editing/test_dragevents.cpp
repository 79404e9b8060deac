#include <QtTest>
#include <QtWidgets>

#include "EditingHarness.h"
#include "support/MainUi.h"

using namespace zanq;
using test::At;
using test::EditingHarness;
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

QPoint CellCentre(const EditingHarness& h, Slot slot) {
    return h.ui().FlexGrid1->visualRect(h.ui().gridModel->indexOf(slot)).center();
}
}  // namespace

class DragEventTest : public QObject {
    Q_OBJECT
    std::unique_ptr<EditingHarness> h;

private slots:
    void init() {
        h = std::make_unique<EditingHarness>();
        h->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->window.get()));
    }
    void cleanup() { h.reset(); }

    void gridDragMovesAPatchToTheCellUnderThePointer() {
        const PatchRecord pad = MakeRecord("Pad", 1, 2);
        h->librarian.place(At("B-3"), pad);
        QWidget* grid = h->ui().FlexGrid1->viewport();
        QCOMPARE(DragAndDrop(grid, CellCentre(*h, At("B-3")), grid, CellCentre(*h, At("E-6"))),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(h->librarian.at(At("E-6")), h->dialect.retarget(pad, At("E-6")));
        QVERIFY(h->librarian.isEmpty(At("B-3")));
    }

    void pressOnAnEmptySlotStartsNoDrag() {
        QWidget* grid = h->ui().FlexGrid1->viewport();
        QCOMPARE(DragAndDrop(grid, CellCentre(*h, At("D-9")), grid, CellCentre(*h, At("A-1"))),
                 QString());
        QCOMPARE(h->context.dragOrigin, std::optional(At("D-9")));
    }

    void libraryDragOnTheDeleteZoneDeletesAfterYes() {
        h->librarian.apply({MakeRecord("Bell", 0, 0), MakeRecord("Choir", 0, 1)},
                           LoadTarget::Library);
        auto* list = h->ui().List1;
        const QPoint line = list->visualItemRect(list->lineNamed("Choir")).center();
        h->prompter.answers.enqueue(true);
        QCOMPARE(DragAndDrop(list->viewport(), line, h->ui().Image1, {5, 5}),
                 QStringLiteral("List1 picture entered dropped"));
        QTRY_COMPARE(list->count(), 1);
        QVERIFY(!list->lineNamed("Choir"));
    }

    void fileDragOnTheLibraryLoadsIt() {
        h->writeAndSelect("bank.syx", {MakeRecord("Brass", 3, 3), MakeRecord("Flute", 3, 4)});
        auto* files = h->ui().File1;
        const QPoint line = files->visualRect(files->model()->index(0, 0)).center();
        QCOMPARE(DragAndDrop(files->viewport(), line, h->ui().List1->viewport(), {5, 5}),
                 QStringLiteral("File1 picture entered dropped"));
        QTRY_COMPARE(h->ui().List1->count(), 2);
    }

    void gridDragIsRefusedByTheLibraryAndADisabledMidiOut() {
        h->librarian.place(At("A-1"), MakeRecord("Pad", 0, 0));
        QWidget* grid = h->ui().FlexGrid1->viewport();
        const QPoint cell = CellCentre(*h, At("A-1"));
        QPushButton* out = h->ui().cmdMIDI_OUT;
        QCOMPARE(DragAndDrop(grid, cell, h->ui().List1->viewport(), {5, 5}),
                 QStringLiteral("FlexGrid1 picture - -"));
        QCOMPARE(DragAndDrop(grid, cell, out, {5, 5}), QStringLiteral("FlexGrid1 picture - -"));

        QSignalSpy toMidiOut(h->window.get(), &frmMain::droppedOnMidiOut);
        out->setEnabled(true);
        QCOMPARE(DragAndDrop(grid, cell, out, {5, 5}),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(toMidiOut.size(), 1);
        QCOMPARE(toMidiOut[0][0].value<DragSource>(), DragSource::Grid);
        QCOMPARE(h->ui().List1->count(), 0);
    }

    void foreignDragsAreIgnored() {
        h->librarian.place(At("A-1"), MakeRecord("Pad", 0, 0));
        h->librarian.apply(MakeRecord("Bell", 0, 0), LoadTarget::Library);
        h->window->selectLibraryEntry("Bell");
        h->context.dragOrigin = At("A-1");
        h->ui().cmdMIDI_OUT->setEnabled(true);

        QMimeData text, urls, oursWithoutDrag;  // the last: our type, but no drag of ours under way
        text.setText("FlexGrid1");
        urls.setUrls({QUrl::fromLocalFile(h->folder.filePath("x.syx"))});
        oursWithoutDrag.setData(kDragSourceMime, "List1");

        const std::pair<QWidget*, QPoint> targets[] = {
            {h->ui().FlexGrid1->viewport(), CellCentre(*h, At("C-3"))},
            {h->ui().List1->viewport(), {5, 5}},
            {h->ui().Image1, {5, 5}},
            {h->ui().cmdMIDI_OUT, {5, 5}},
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
        QVERIFY(h->prompter.shown.isEmpty());
        QCOMPARE(h->librarian.matrix().CountMatrixPatches(), 1);
        QCOMPARE(h->ui().List1->count(), 1);
    }
};

QTEST_MAIN(DragEventTest)
#include "test_dragevents.moc"
