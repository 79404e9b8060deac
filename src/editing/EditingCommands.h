#pragma once
// What happens when a patch or a file is dropped on the grid, the Patch Library list, the
// Delete Zone or the MIDI OUT button. Each handler gets the name of the control the drag came
// from and reads the rest at drop time: the grid's drag origin (DragCol, DragRow), the library
// list's selected line, the file list's selected file.

#include <QObject>
#include <QString>
#include <functional>

#include "model/Slot.h"

namespace zanq {

class frmMain;
class SysexFileCommands;
struct AppContext;

class EditingCommands : public QObject {
    Q_OBJECT
public:
    EditingCommands(frmMain& window, AppContext& context);

    // Left press on a grid cell: records the drag origin; true when the slot holds a patch, so
    // that a drag may begin.
    bool FlexGrid1_pressed(Slot slot);

    void FlexGrid1_dropped(const QString& source, Slot target);
    void List1_dropped(const QString& source);
    void Image1_dropped(const QString& source);
    void cmdMIDI_OUT_dropped(const QString& source);

    // Sends the grid patch at slot to the synth; the MIDI link fills it in.
    std::function<void(Slot slot)> sendGridPatch;

private:
    void moveGridPatch(Slot target);
    void copyLibraryPatch(Slot target);
    void deleteLibraryPatch();
    void deleteMatrixPatch();
    void deleteFile();
    SysexFileCommands* files() const;
    QString nameAt(Slot slot) const;
    // The first lines of the swap and overwrite questions.
    QString slotInUse(Slot slot) const;

    frmMain& window_;
    AppContext& context_;
};

}  // namespace zanq
