#pragma once
// A file dragged out of the file list: onto the grid it loads into the Matrix, onto the
// Patch Library into the library (where it lands plays no part), onto the Delete Zone it is
// deleted from the disk after a question. .syx files dragged from a file manager load the same
// way, onto the grid or the library only.

#include <QObject>

#include "shell/DragSource.h"

namespace zanq {

class SysexFileCommands;
class frmMain;
struct AppContext;

class FileDrops : public QObject {
    Q_OBJECT
public:
    FileDrops(frmMain& window, AppContext& context, SysexFileCommands& files);

    void droppedOnGrid(DragSource source);
    void droppedOnLibrary(DragSource source);
    void droppedOnDeleteZone(DragSource source);

private:
    frmMain& window_;
    AppContext& context_;
    SysexFileCommands& files_;
};

}  // namespace zanq
