#pragma once
// Turns the main window's mouse and drag events into drags and drops: starts a drag from the
// grid, the library list or the file list, and announces each drop of one of our own drags on
// the control it landed on. Of other programs' drags only .syx files dropped on the grid or the
// library are announced; everything else is refused. What a drop does is up to whoever follows
// the signals.

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <utility>
#include <vector>

#include "model/Slot.h"
#include "shell/DragSource.h"

class QDropEvent;
class QMouseEvent;

namespace zanq {

struct AppContext;
struct MainControls;

class DragDropRouter : public QObject {
    Q_OBJECT
public:
    DragDropRouter(const MainControls& controls, AppContext& context, QObject* parent);

signals:
    // Each arrives once the drag has finished, so handlers may ask ordinary modal questions.
    void droppedOnGrid(zanq::DragSource source, zanq::Slot cell);
    void droppedOnLibrary(zanq::DragSource source);
    void droppedOnDeleteZone(zanq::DragSource source);
    void droppedOnMidiOut(zanq::DragSource source);
    // .syx files from a file manager, in the order given.
    void filesDroppedOnGrid(const QStringList& paths);
    void filesDroppedOnLibrary(const QStringList& paths);

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

    const MainControls& controls_;
    AppContext& context_;
    std::vector<std::pair<QObject*, Target>> watched_;
    // A left press on a source that may turn into a drag once the mouse moves far enough.
    Target pending_ = Target::None;
    QPoint pressPos_;
};

}  // namespace zanq
