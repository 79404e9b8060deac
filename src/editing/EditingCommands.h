#pragma once
// What happens when a grid patch or a library patch is dropped on the grid or on the Delete
// Zone: moving and swapping Matrix patches, copying a library patch into a slot, deleting
// either after a question. Each handler reads the rest at drop time: the grid's drag origin,
// the library list's selected line. Dragged files are the file browser's business, drops on
// MIDI OUT the MIDI link's.

#include <QObject>
#include <QString>

#include "model/Slot.h"
#include "shell/DragSource.h"

namespace zanq {

class frmMain;
struct AppContext;

class EditingCommands : public QObject {
    Q_OBJECT
public:
    EditingCommands(frmMain& window, AppContext& context);

    void FlexGrid1_dropped(DragSource source, Slot target);
    void Image1_dropped(DragSource source);

private:
    void moveGridPatch(Slot target);
    void copyLibraryPatch(Slot target);
    void deleteLibraryPatch();
    void deleteMatrixPatch();
    QString nameAt(Slot slot) const;
    // The first lines of the swap and overwrite questions.
    QString slotInUse(Slot slot) const;

    frmMain& window_;
    AppContext& context_;
};

}  // namespace zanq
