#include "shell/DragDropRouter.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/AppContext.h"
#include "shell/Artwork.h"
#include "shell/MainControls.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFolder.h"

namespace zanq {

namespace {
void TakeOverDragAndDrop(QAbstractItemView* view) {
    // The views' own drag and drop would export model data; ours carries only the source name.
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->setDragEnabled(false);
    view->viewport()->setAcceptDrops(true);
}
}  // namespace

DragDropRouter::DragDropRouter(frmMain& window, const MainControls& controls, AppContext& context)
    : QObject(&window), window_(window), controls_(controls), context_(context) {
    setObjectName(QStringLiteral("DragDropRouter"));
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(controls_.FlexGrid1),
                                    static_cast<QAbstractItemView*>(controls_.List1),
                                    static_cast<QAbstractItemView*>(controls_.File1)})
        TakeOverDragAndDrop(view);
    controls_.Image1->setAcceptDrops(true);
    controls_.cmdMIDI_OUT->setAcceptDrops(true);
    watched_ = {{controls_.FlexGrid1->viewport(), Target::Grid},
                {controls_.List1->viewport(), Target::Library},
                {controls_.File1->viewport(), Target::Files},
                {controls_.Image1, Target::DeleteZone},
                {controls_.cmdMIDI_OUT, Target::MidiOut}};
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
            if (takesDrop(target, DraggedSource(drag), drag->position())) {
                drag->acceptProposedAction();
            } else if (!foreignFiles(target, drag).isEmpty()) {
                // Copy: a file manager told "move" would delete its file afterwards.
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<DragSource> source = DraggedSource(drop);
            if (const QStringList files = foreignFiles(target, drop); !files.isEmpty()) {
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                const bool onGrid = target == Target::Grid;
                QTimer::singleShot(0, this, [this, files, onGrid] {
                    if (onGrid)
                        emit window_.filesDroppedOnGrid(files);
                    else
                        emit window_.filesDroppedOnLibrary(files);
                });
                return true;
            }
            if (!takesDrop(target, source, drop->position())) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            dropped(target, *source, drop->position());
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
        // The press names the drag origin whether or not a drag follows; only a filled slot
        // drags.
        const QModelIndex cell = controls_.FlexGrid1->indexAt(pressPos_);
        if (cell.isValid()) {
            const Slot slot = MatrixGridModel::slotAt(cell);
            context_.dragOrigin = slot;
            if (!context_.librarian.isEmpty(slot))
                pending_ = Target::Grid;
        }
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
            RunSourceDrag(controls_.FlexGrid1, DragSource::Grid,
                          artwork::DragCard(controls_.FlexGrid1->devicePixelRatioF()));
            break;
        case Target::Library:
            RunSourceDrag(controls_.List1, DragSource::Library,
                          artwork::DragCard(controls_.List1->devicePixelRatioF()));
            break;
        case Target::Files:
            RunSourceDrag(controls_.File1, DragSource::Files,
                          artwork::Document(controls_.File1->devicePixelRatioF()));
            break;
        default:
            break;
    }
    return true;
}

bool DragDropRouter::takesDrop(Target target, std::optional<DragSource> source, QPointF pos) const {
    if (!source)
        return false;
    switch (target) {
        case Target::Grid:
            return controls_.FlexGrid1->indexAt(pos.toPoint()).isValid();
        case Target::Library:
            return *source == DragSource::Files;
        case Target::DeleteZone:
            return true;
        case Target::MidiOut:
            // A disabled button takes no drops.
            return controls_.cmdMIDI_OUT->isEnabled();
        default:
            return false;
    }
}

QStringList DragDropRouter::foreignFiles(Target target, const QDropEvent* event) const {
    const bool onGrid = target == Target::Grid &&
                        controls_.FlexGrid1->indexAt(event->position().toPoint()).isValid();
    if ((!onGrid && target != Target::Library) || DraggedSource(event) ||
        !event->mimeData()->hasUrls())
        return {};
    return DroppedSysexFiles(event->mimeData()->urls());
}

void DragDropRouter::dropped(Target target, DragSource source, QPointF pos) {
    // The grid drop reads the cell under the pointer at release time.
    const QModelIndex cell =
        target == Target::Grid ? controls_.FlexGrid1->indexAt(pos.toPoint()) : QModelIndex();
    const Slot slot = cell.isValid() ? MatrixGridModel::slotAt(cell) : Slot{};
    // Announce the drop once the drag has finished, so its questions are ordinary modal boxes
    // rather than dialogs nested inside the drag.
    QTimer::singleShot(0, this, [this, target, source, slot] {
        switch (target) {
            case Target::Grid:
                emit window_.droppedOnGrid(source, slot);
                break;
            case Target::Library:
                emit window_.droppedOnLibrary(source);
                break;
            case Target::DeleteZone:
                emit window_.droppedOnDeleteZone(source);
                break;
            case Target::MidiOut:
                emit window_.droppedOnMidiOut(source);
                break;
            default:
                break;
        }
    });
}

}  // namespace zanq
