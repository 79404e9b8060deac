#pragma once
// The drags between the main window's controls carry nothing but the name of the control they
// started from, in a MIME type of our own. A drop reads what it needs from that control itself.

#include <QMetaType>
#include <QPixmap>
#include <QString>
#include <optional>

class QDropEvent;
class QWidget;

namespace zanq {

// The three drag sources: the grid, the library list and the file list.
enum class DragSource { Grid, Library, Files };

inline const QString kDragSourceMime = QStringLiteral("application/x-zanq-drag-source");

// "FlexGrid1", "List1" or "File1": the name a drag carries.
QString DragSourceName(DragSource source);

// Runs a drag from widget showing picture under the pointer; returns when the button is
// released.
void RunSourceDrag(QWidget* widget, DragSource source, const QPixmap& picture);

// The source of a drag of ours, started in this process; nothing for anything else (another
// program's text or files, a stray event without a drag under way).
std::optional<DragSource> DraggedSource(const QDropEvent* event);

}  // namespace zanq

Q_DECLARE_METATYPE(zanq::DragSource)
