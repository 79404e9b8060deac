#include "editing/DragSource.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace zanq {

void RunSourceDrag(QWidget* source, const QString& sourceName, const QPixmap& picture) {
    auto* drag = new QDrag(source);
    auto* mime = new QMimeData;
    mime->setData(kDragSourceMime, sourceName.toLatin1());
    drag->setMimeData(mime);
    drag->setPixmap(picture);
    const QSize size = picture.deviceIndependentSize().toSize();
    drag->setHotSpot(QPoint(size.width() / 2, size.height() / 2));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

QString DraggedSourceName(const QDropEvent* event) {
    // source() is only set for a drag started by this application.
    if (!event->source() || !event->mimeData() || !event->mimeData()->hasFormat(kDragSourceMime))
        return {};
    const QString name = QString::fromLatin1(event->mimeData()->data(kDragSourceMime));
    if (name == kGridSource || name == kLibrarySource || name == kFileSource)
        return name;
    return {};
}

}  // namespace zanq
