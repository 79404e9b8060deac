#pragma once
// Turns the main window's mouse and drag events into drags and drops: starts a drag from the
// grid, the library list or the file list, and hands each drop of one of our own drags to the
// handler of the control it landed on. Foreign drags (other programs' text or files) are ignored.

#include <QObject>
#include <QPoint>
#include <QString>
#include <utility>
#include <vector>

class QDropEvent;
class QMouseEvent;
class QWidget;

namespace zanq {

class EditingCommands;
class frmMain;

class DragDropRouter : public QObject {
    Q_OBJECT
public:
    DragDropRouter(frmMain& window, EditingCommands& commands);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Target { None, Grid, Library, Files, DeleteZone, MidiOut };

    Target targetOf(const QObject* watched) const;
    bool mousePressed(Target target, QMouseEvent* event);
    bool mouseMoved(QMouseEvent* event);
    // Accepts or refuses a drag hovering at pos; true when a drop there would be handled.
    bool takesDrop(Target target, const QString& source, QPointF pos) const;
    void dropped(Target target, const QString& source, QPointF pos);

    frmMain& window_;
    EditingCommands& commands_;
    std::vector<std::pair<QObject*, Target>> watched_;
    // A left press on a source that may turn into a drag once the mouse moves far enough.
    Target pending_ = Target::None;
    QPoint pressPos_;
};

}  // namespace zanq
