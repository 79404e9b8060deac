#pragma once
// What happens when a patch or a file is dropped on the grid, the Patch Library list, the
// Delete Zone or the MIDI OUT button. Each handler gets the name of the control the drag came
// from and reads the rest at drop time: the grid's drag origin (DragCol, DragRow), the library
// list's selected line, the file list's selected file.
//
// Grid coordinates are the grid's own: row 0 and column 0 are the header cells, row r is slot r,
// column c is bank c.

#include <QObject>
#include <QString>
#include <functional>

namespace zanq {

class frmMain;
class SysexFileCommands;
struct AppContext;

class EditingCommands : public QObject {
    Q_OBJECT
public:
    EditingCommands(frmMain& window, AppContext& context);

    // Left press on grid cell (row, col): records the drag origin; true when the slot holds a
    // patch, so that a drag may begin.
    bool FlexGrid1_pressed(int row, int col);

    void FlexGrid1_dropped(const QString& source, int row, int col);
    void List1_dropped(const QString& source);
    void Image1_dropped(const QString& source);
    void cmdMIDI_OUT_dropped(const QString& source);

    // Sends the grid patch at (bank, slot) to the synth; the MIDI link fills it in.
    std::function<void(int bankNumber, int slot)> sendGridPatch;

private:
    void moveGridPatch(int row, int col);
    void copyLibraryPatch(int row, int col);
    void deleteLibraryPatch();
    void deleteMatrixPatch();
    void deleteFile();
    SysexFileCommands* files() const;

    frmMain& window_;
    AppContext& context_;
};

}  // namespace zanq
