#pragma once
// A window that reopens where the user left it: its size, place and maximized state are kept
// in the user's settings (QSettings under the application's names) when it closes, and given
// back when it is built again. The first time, the window keeps the size it was built with.

#include <QObject>
#include <QString>

class QWidget;

namespace zanq {

class WindowGeometryKeeper : public QObject {
    Q_OBJECT
public:
    // Restores `window` from the settings key at once and saves it there each time it closes.
    // Owned by the window.
    WindowGeometryKeeper(QWidget& window, QString key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QString key_;
};

// The main window's keeper, under the key "MainWindow/geometry".
void KeepMainWindowGeometry(QWidget& window);

}  // namespace zanq
