#pragma once
// The main window "ZANQ LIBRARIAN": the file browser pane, the Patch Library list, the row of
// command buttons, the Matrix grid, the title block and the status bar. It builds its controls,
// keeps them placed as its size changes, repaints the grid, the list and the library count from
// the Librarian, and handles Quit and the column-fitting button itself.
//
// Its controls are its own. Everything else it offers as commands (signals) that any number of
// subsystems follow, and as a few methods that show what they report. Subsystems never learn
// about each other through it, so the order in which they are installed plays no part.

#include <QMainWindow>
#include <QStringList>

#include "model/Slot.h"
#include "shell/AppContext.h"
#include "shell/DragSource.h"
#include "shell/MainControls.h"
#include "shell/MainLayout.h"

class QComboBox;
class QListView;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;

namespace zanq {

// The file browser pane, handed whole to the subsystem that browses and loads files.
struct FileBrowserControls {
    QComboBox* Drive1;
    QTreeView* Dir1;
    QListView* File1;
    QPushButton* cmdLoadPatchListMatrix;
    QPushButton* cmdLoadPatchlist;
    QPushButton* cmdLoadInMatrix;
    QPushButton* cmdLoadAll;
};

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    FileBrowserControls fileBrowser() const;

    // The library list's selected line; empty when none is selected.
    QString selectedLibraryName() const;
    // Selects the first line of exactly that name; with no such line, none is selected.
    void selectLibraryEntry(const QString& name);
    // Hidden while a file is read into the library.
    void setLibraryListVisible(bool visible);

    // What synth detection found: enables MIDI OUT and MIDI IN, and shows panel 3's text.
    void showSynthPorts(bool outputFound, bool inputFound, const QString& status);
    bool synthOutputFound() const;
    // The update notice beside the buttons; an empty notice leaves the label disabled.
    void showVersionNotice(const QString& notice);
    void setVersionNoticeVisible(bool visible);

    // The title block's progress bar, shown for a long run.
    void showProgress(int maximum);
    void setProgress(int value);
    void hideProgress();

    // Tells the window's followers that files in the program folder were written.
    void announceFilesChanged();

    // Menus that subsystems add: the Edit menu goes between Files and Utils; entries of the
    // Files menu go above the separator before Quit.
    void addEditMenu(QMenu* edit);
    void addFilesEntry(QAction* entry);

    // Current geometry in twips, as the placement rules last left it.
    const MainGeometry& geometryTwips() const { return geometry_; }
    double logicalDpi() const;

signals:
    void saveRequested();
    void banksRequested();
    void searchRequested();
    void clearRequested();
    void aboutRequested();
    void midiOutClicked();
    void midiInClicked();
    // The title block, status panels 1 and 4, and the update notice.
    void titleClicked();
    void makerPanelClicked();
    void versionPanelClicked();
    void versionNoticeClicked();

    void filledSlotDoubleClicked(zanq::Slot slot);
    void emptySlotDoubleClicked(zanq::Slot slot);
    void libraryLineDoubleClicked(const QString& name);

    // A drag of the grid, the library list or the file list ended on one of the four targets.
    // Each arrives once the drag has finished, so handlers may ask ordinary modal questions.
    void droppedOnGrid(zanq::DragSource source, zanq::Slot cell);
    void droppedOnLibrary(zanq::DragSource source);
    void droppedOnDeleteZone(zanq::DragSource source);
    void droppedOnMidiOut(zanq::DragSource source);
    // .syx files dragged from a file manager onto the grid or the library list, in the order
    // given.
    void filesDroppedOnGrid(const QStringList& paths);
    void filesDroppedOnLibrary(const QStringList& paths);

    void synthOutputFoundChanged(bool found);
    void filesChanged();
    // Every 5000 ms, also while a modal window is open.
    void ticked();
    // Once, when the window closes, before the program ends.
    void closing();
    // Once, right after the window's first paint has ended: work that the first sight of the
    // window need not wait for starts here.
    void firstPainted();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void routeCommands();
    void UpdateLibraryCount();
    void Fillgrid();
    void Form_Resize();
    void placeControls();
    void FitGridColumns();
    // Inner size that the window opens with, in pixels.
    QSize designClientSize() const;

    AppContext& context_;
    MainControls ui_;
    QTimer* Timer1 = nullptr;
    MainGeometry geometry_;
    bool shutDown_ = false;
    bool painted_ = false;
};

}  // namespace zanq
