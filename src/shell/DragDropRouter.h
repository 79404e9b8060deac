#pragma once
// Turns the main window's mouse and drag events into drags and drops: starts a drag from the
// grid, the library list or the file list, and announces each drop of one of our own drags on
// the control it landed on, through the window's drop signals. Of other programs' drags only
// .syx files dropped on the grid or the library are announced; everything else is refused. What
// a drop does is up to whoever follows the window.

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "shell/DragSource.h"

class QDropEvent;
class QMouseEvent;

namespace zanq {

struct AppContext;
struct MainControls;
class frmMain;

class DragDropRouter : public QObject {
    Q_OBJECT
public:
    // Owned by window, whose controls it watches.
    DragDropRouter(frmMain& window, const MainControls& controls, AppContext& context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Target { None, Grid, Library, Files, DeleteZone, MidiOut };

    Target targetOf(const QObject* watched) const;
    bool mousePressed(Target target, QMouseEvent* event);
    bool mouseMoved(QMouseEvent* event);
    // Accepts or refuses a drag hovering at pos; true when a drop there would be handled.
    bool takesDrop(Target target, std::optional<DragSource> source, QPointF pos) const;
    void dropped(Target target, DragSource source, QPointF pos);
    // The .syx files of another program's drag that the target takes; empty when it takes none.
    QStringList foreignFiles(Target target, const QDropEvent* event) const;

    frmMain& window_;
    const MainControls& controls_;
    AppContext& context_;
    std::vector<std::pair<QObject*, Target>> watched_;
    // A left press on a source that may turn into a drag once the mouse moves far enough.
    Target pending_ = Target::None;
    QPoint pressPos_;
};

}  // namespace zanq
