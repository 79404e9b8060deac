#include "shell/WindowGeometry.h"

#include <QEvent>
#include <QSettings>
#include <QWidget>

namespace zanq {

WindowGeometryKeeper::WindowGeometryKeeper(QWidget& window, QString key)
    : QObject(&window), window_(window), key_(std::move(key)) {
    const QByteArray saved = QSettings().value(key_).toByteArray();
    // Qt moves a saved place that lies off every screen of today back onto one.
    if (!saved.isEmpty())
        window_.restoreGeometry(saved);
    window_.installEventFilter(this);
}

bool WindowGeometryKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close)
        QSettings().setValue(key_, window_.saveGeometry());
    return QObject::eventFilter(watched, event);
}

void KeepMainWindowGeometry(QWidget& window) {
    new WindowGeometryKeeper(window, QStringLiteral("MainWindow/geometry"));
}

}  // namespace zanq
