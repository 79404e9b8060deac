#pragma once
// The drags between the main window's controls carry nothing but the name of the control they
// started from, in a MIME type of our own. A drop reads what it needs from that control itself.

#include <QPixmap>
#include <QString>

class QDropEvent;
class QWidget;

namespace zanq {

inline const QString kDragSourceMime = QStringLiteral("application/x-zanq-drag-source");

inline const QString kGridSource = QStringLiteral("FlexGrid1");
inline const QString kLibrarySource = QStringLiteral("List1");
inline const QString kFileSource = QStringLiteral("File1");

// Runs a drag from source (the control that owns it) showing picture under the pointer;
// returns when the button is released.
void RunSourceDrag(QWidget* source, const QString& sourceName, const QPixmap& picture);

// The source control's name when the drag is one of ours, started in this process; empty for
// anything else (another program's text or files, a stray event without a drag under way).
QString DraggedSourceName(const QDropEvent* event);

}  // namespace zanq
