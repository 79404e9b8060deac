#include "shell/DragSource.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace zanq {

QString DragSourceName(DragSource source) {
    switch (source) {
        case DragSource::Grid:
            return QStringLiteral("FlexGrid1");
        case DragSource::Library:
            return QStringLiteral("List1");
        case DragSource::Files:
            return QStringLiteral("File1");
    }
    return {};
}

void RunSourceDrag(QWidget* widget, DragSource source, const QPixmap& picture) {
    auto* drag = new QDrag(widget);
    auto* mime = new QMimeData;
    mime->setData(kDragSourceMime, DragSourceName(source).toLatin1());
    drag->setMimeData(mime);
    drag->setPixmap(picture);
    const QSize size = picture.deviceIndependentSize().toSize();
    drag->setHotSpot(QPoint(size.width() / 2, size.height() / 2));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

std::optional<DragSource> DraggedSource(const QDropEvent* event) {
    // source() is only set for a drag started by this application.
    if (!event->source() || !event->mimeData() || !event->mimeData()->hasFormat(kDragSourceMime))
        return std::nullopt;
    const QString name = QString::fromLatin1(event->mimeData()->data(kDragSourceMime));
    for (DragSource source : {DragSource::Grid, DragSource::Library, DragSource::Files})
        if (name == DragSourceName(source))
            return source;
    return std::nullopt;
}

}  // namespace zanq
