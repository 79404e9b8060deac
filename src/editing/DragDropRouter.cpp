#include "editing/DragDropRouter.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "editing/DragSource.h"
#include "editing/EditingCommands.h"
#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/Artwork.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {
void TakeOverDragAndDrop(QAbstractItemView* view) {
    // The views' own drag and drop would export model data; ours carries only the source name.
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->setDragEnabled(false);
    view->viewport()->setAcceptDrops(true);
}
}  // namespace

DragDropRouter::DragDropRouter(frmMain& window, EditingCommands& commands)
    : QObject(&window), window_(window), commands_(commands) {
    setObjectName(QStringLiteral("DragDropRouter"));
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(window_.FlexGrid1),
                                    static_cast<QAbstractItemView*>(window_.List1),
                                    static_cast<QAbstractItemView*>(window_.File1)})
        TakeOverDragAndDrop(view);
    window_.Image1->setAcceptDrops(true);
    window_.cmdMIDI_OUT->setAcceptDrops(true);
    watched_ = {{window_.FlexGrid1->viewport(), Target::Grid},
                {window_.List1->viewport(), Target::Library},
                {window_.File1->viewport(), Target::Files},
                {window_.Image1, Target::DeleteZone},
                {window_.cmdMIDI_OUT, Target::MidiOut}};
    for (const auto& [widget, target] : watched_)
        widget->installEventFilter(this);
}

DragDropRouter::Target DragDropRouter::targetOf(const QObject* watched) const {
    // Only compares addresses: events still arrive while the window takes its children down.
    for (const auto& [widget, target] : watched_)
        if (widget == watched)
            return target;
    return Target::None;
}

bool DragDropRouter::eventFilter(QObject* watched, QEvent* event) {
    const Target target = targetOf(watched);
    if (target == Target::None)
        return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            return mousePressed(target, static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return mouseMoved(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            pending_ = Target::None;
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (takesDrop(target, DraggedSourceName(drag), drag->position()))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString source = DraggedSourceName(drop);
            if (!takesDrop(target, source, drop->position())) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            dropped(target, source, drop->position());
            return true;
        }
        default:
            return false;
    }
}

bool DragDropRouter::mousePressed(Target target, QMouseEvent* event) {
    pending_ = Target::None;
    if (event->button() != Qt::LeftButton)
        return false;
    pressPos_ = event->position().toPoint();
    if (target == Target::Grid) {
        const QModelIndex cell = window_.FlexGrid1->indexAt(pressPos_);
        if (cell.isValid() && commands_.FlexGrid1_pressed(MatrixGridModel::slotAt(cell)))
            pending_ = Target::Grid;
    } else if (target == Target::Library || target == Target::Files) {
        pending_ = target;
    }
    // The view still handles the press, so the pressed cell, line or file becomes current.
    return false;
}

bool DragDropRouter::mouseMoved(QMouseEvent* event) {
    if (pending_ == Target::None)
        return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        pending_ = Target::None;
        return false;
    }
    // While a drag may start the views do not drag their selection along.
    if ((event->position().toPoint() - pressPos_).manhattanLength() <
        QApplication::startDragDistance())
        return true;
    const Target source = pending_;
    pending_ = Target::None;
    switch (source) {
        case Target::Grid:
            RunSourceDrag(window_.FlexGrid1, kGridSource,
                          artwork::DragCard(window_.FlexGrid1->devicePixelRatioF()));
            break;
        case Target::Library:
            RunSourceDrag(window_.List1, kLibrarySource,
                          artwork::DragCard(window_.List1->devicePixelRatioF()));
            break;
        case Target::Files:
            RunSourceDrag(window_.File1, kFileSource,
                          artwork::Document(window_.File1->devicePixelRatioF()));
            break;
        default:
            break;
    }
    return true;
}

bool DragDropRouter::takesDrop(Target target, const QString& source, QPointF pos) const {
    if (source.isEmpty())
        return false;
    switch (target) {
        case Target::Grid:
            return window_.FlexGrid1->indexAt(pos.toPoint()).isValid();
        case Target::Library:
            return source == kFileSource;
        case Target::DeleteZone:
            return true;
        case Target::MidiOut:
            // A disabled button takes no drops.
            return window_.cmdMIDI_OUT->isEnabled();
        default:
            return false;
    }
}

void DragDropRouter::dropped(Target target, const QString& source, QPointF pos) {
    // The grid drop reads the cell under the pointer at release time.
    const QModelIndex cell =
        target == Target::Grid ? window_.FlexGrid1->indexAt(pos.toPoint()) : QModelIndex();
    const std::optional<Slot> slot =
        cell.isValid() ? std::optional<Slot>(MatrixGridModel::slotAt(cell)) : std::nullopt;
    // Run the handler once the drag has finished, so its questions are ordinary modal boxes
    // rather than dialogs nested inside the drag.
    EditingCommands* commands = &commands_;
    QTimer::singleShot(0, commands, [commands, target, source, slot] {
        switch (target) {
            case Target::Grid:
                if (slot)
                    commands->FlexGrid1_dropped(source, *slot);
                break;
            case Target::Library:
                commands->List1_dropped(source);
                break;
            case Target::DeleteZone:
                commands->Image1_dropped(source);
                break;
            case Target::MidiOut:
                commands->cmdMIDI_OUT_dropped(source);
                break;
            default:
                break;
        }
    });
}

}  // namespace zanq
