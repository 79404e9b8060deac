// Drags and drops on the main window, run by Qt's own drag loop: what a drag carries, where it
// may end, and what each drop does after its question.

#include <QtTest>
#include <QtWidgets>

#include "editing/InstallEditing.h"
#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

using namespace zanq;
using test::At;
using test::MakeRecord;
using test::Moved;

namespace {
const QString CR(kCR);

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

struct Rig : test::MainRig {
    Rig() : MainRig({InstallSysexFiles, InstallEditing}) {}

    QPoint centre(Slot slot) const {
        return ui.FlexGrid1->visualRect(ui.gridModel->indexOf(slot)).center();
    }
    // Presses at from on the source, moves far enough for a drag, and while that drag runs lets
    // it enter and drop on target at to; then ends the drag. Tells what happened: nothing when
    // no drag began, else the source name the drag carried, then "picture", "entered" and
    // "dropped", each as "-" when it did not hold.
    QString drag(QWidget* source, QPoint from, QWidget* target, QPoint to) {
        QStringList outcome;
        QObject script;  // takes the unused script away when no drag ran
        QTimer::singleShot(0, &script, [&] {
            QDrag* drag = source->parentWidget()->findChild<QDrag*>();
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
        SendMouse(source, QEvent::MouseButtonPress, from, Qt::LeftButton);
        const QPoint away = from + QPoint(QApplication::startDragDistance() + 3, 0);
        SendMouse(source, QEvent::MouseMove, away, Qt::LeftButton);
        if (outcome.isEmpty())
            SendMouse(source, QEvent::MouseButtonRelease, away, Qt::NoButton);
        return outcome.join(' ');
    }
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

class DragDropTest : public QObject {
    Q_OBJECT
private slots:
    void gridDropsMoveSwapAndCopyOnlyAfterYes() {
        Rig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        const PatchRecord a = MakeRecord("Alpha", 1, 2, 1), b = MakeRecord("Beta", 2, 4, 2);
        rig.librarian.place(At("B-3"), a);
        rig.librarian.place(At("C-5"), b);
        QWidget* grid = rig.ui.FlexGrid1->viewport();
        QCOMPARE(rig.drag(grid, rig.centre(At("B-3")), grid, rig.centre(At("A-1"))),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(rig.librarian.at(At("A-1")), Moved(a, At("A-1")));
        QVERIFY(rig.librarian.isEmpty(At("B-3")));
        // A press on an empty slot starts no drag, but marks the origin; its own cell is no move.
        QCOMPARE(rig.drag(grid, rig.centre(At("D-9")), grid, rig.centre(At("C-5"))), QString());
        QCOMPARE(rig.context.dragOrigin, std::optional(At("D-9")));
        rig.context.dragOrigin = At("A-1");
        rig.dropOnGrid(DragSource::Grid, At("A-1"));
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

        // A library patch is copied only from a selected line; a filled slot asks first.
        const PatchRecord strings = MakeRecord("Strings", 6, 100, 4);
        rig.librarian.apply({MakeRecord("Bass", 0, 1), strings}, LoadTarget::Library);
        rig.dropOnGrid(DragSource::Library, At("C-5"));
        QCOMPARE(rig.prompter.shown.size(), 2);
        rig.window.selectLibraryEntry("Strings");
        for (bool yes : {false, true}) {
            rig.prompter.answers.enqueue(yes);
            rig.dropOnGrid(DragSource::Library, At("C-5"));
            QCOMPARE(rig.librarian.at(At("C-5")), Moved(yes ? strings : a, At("C-5")));
        }
        QCOMPARE(
            rig.prompter.shown[2].text,
            InUse("Bank C-005", "Alpha") + "Do you want to overwrite it (Patch will be lost) ?");
        QCOMPARE(rig.prompter.shown[2].title, QStringLiteral("Warning"));
        QCOMPARE(rig.librarian.libraryPatch("Strings"), std::optional(strings));
    }

    void dragsEndOnlyWhereTheyMay() {
        Rig rig;
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.librarian.place(At("A-1"), MakeRecord("Pad", 0, 0));
        rig.librarian.apply({MakeRecord("Bell", 0, 0), MakeRecord("Choir", 0, 1)},
                            LoadTarget::Library);
        QWidget* grid = rig.ui.FlexGrid1->viewport();
        QWidget* list = rig.ui.List1->viewport();
        QPushButton* out = rig.ui.cmdMIDI_OUT;
        const QPoint cell = rig.centre(At("A-1"));
        const QString refused = QStringLiteral("FlexGrid1 picture - -");
        QCOMPARE(rig.drag(grid, cell, list, {5, 5}), refused);
        QCOMPARE(rig.drag(grid, cell, out, {5, 5}), refused);  // MIDI OUT is disabled
        QSignalSpy toMidiOut(&rig.window, &frmMain::droppedOnMidiOut);
        out->setEnabled(true);
        QCOMPARE(rig.drag(grid, cell, out, {5, 5}),
                 QStringLiteral("FlexGrid1 picture entered dropped"));
        QTRY_COMPARE(toMidiOut.size(), 1);
        QCOMPARE(toMidiOut[0][0].value<DragSource>(), DragSource::Grid);

        const QPoint line = rig.ui.List1->visualItemRect(rig.ui.List1->lineNamed("Choir")).center();
        rig.prompter.answers.enqueue(true);
        QCOMPARE(rig.drag(list, line, rig.ui.Image1, {5, 5}),
                 QStringLiteral("List1 picture entered dropped"));
        QTRY_VERIFY(!rig.ui.List1->lineNamed("Choir"));

        rig.write("bank.syx", MakeRecord("Brass", 3, 3) + MakeRecord("Flute", 3, 4));
        rig.select("bank.syx");
        QWidget* files = rig.ui.File1->viewport();
        const QPoint file = rig.ui.File1->visualRect(rig.ui.File1->model()->index(0, 0)).center();
        QCOMPARE(rig.drag(files, file, list, {5, 5}),
                 QStringLiteral("File1 picture entered dropped"));
        QTRY_COMPARE(rig.ui.List1->count(), 3);

        // Text, URLs, and our own type without a drag of ours under way: taken nowhere.
        const QString before = rig.shown();
        const qsizetype asked = rig.prompter.shown.size();
        rig.window.selectLibraryEntry("Bell");
        rig.context.dragOrigin = At("A-1");
        QMimeData text, urls, oursWithoutDrag;
        text.setText("FlexGrid1");
        urls.setUrls({QUrl::fromLocalFile(rig.dir.filePath("x.syx"))});
        oursWithoutDrag.setData(kDragSourceMime, "List1");
        const std::pair<QWidget*, QPoint> targets[] = {
            {grid, rig.centre(At("C-3"))}, {list, {5, 5}}, {rig.ui.Image1, {5, 5}}, {out, {5, 5}}};
        for (const QMimeData* mime : {&text, &urls, &oursWithoutDrag}) {
            for (auto [target, pos] : targets) {
                QDragEnterEvent enter(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(target, &enter);
                QDropEvent drop(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(target, &drop);
                QVERIFY(!enter.isAccepted() && !drop.isAccepted());
            }
        }
        QCoreApplication::sendPostedEvents();  // a drop that slipped through is handled now
        QCOMPARE(rig.prompter.shown.size(), asked);
        QCOMPARE(rig.shown(), before);
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
        QTest::newRow("file") << DragSource::Files << true
                              << "Do you want to delete the file : " + CR + CR + "gone.syx ?"
                              << "Alpha Beta Gamma | Keys Other | bank.syx [] | Patches in "
                                 "library : 3";
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
};

QTEST_MAIN(DragDropTest)
#include "test_dragdrop.moc"
