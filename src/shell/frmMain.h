#pragma once
// The main window "ZANQ LIBRARIAN": the file browser pane, the Patch Library list, the row of
// command buttons, the Matrix grid, the title block and the status bar. It builds the controls,
// keeps them placed as the window's size changes and routes its own few commands (Quit, the
// timer, the hidden column-fitting button). The subsystems wire the rest to these controls.

#include <QMainWindow>
#include <array>
#include <functional>

#include "shell/AppContext.h"
#include "shell/MainLayout.h"

class QComboBox;
class QFrame;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;
class QTimer;
class QTreeView;
class QAction;
class QMenu;

namespace zanq {

class ClickableLabel;
class LibraryListWidget;
class MatrixGridModel;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    AppContext& context() { return context_; }

    // File browser pane.
    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QListView* File1 = nullptr;
    QPushButton* cmdLoadPatchListMatrix = nullptr;
    QPushButton* cmdLoadPatchlist = nullptr;
    QPushButton* cmdLoadInMatrix = nullptr;
    QPushButton* cmdLoadAll = nullptr;

    // Patch Library.
    QLabel* Label1 = nullptr;
    LibraryListWidget* List1 = nullptr;

    // Delete zone and command buttons.
    QLabel* imgPoubelle = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* cmdMIDI_IN = nullptr;
    QPushButton* cmdMIDI_OUT = nullptr;
    QPushButton* cmdMatrixUtils = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdSauver = nullptr;
    ClickableLabel* lblversion = nullptr;
    QPushButton* cmdSize = nullptr;

    // Matrix grid.
    QTableView* FlexGrid1 = nullptr;
    MatrixGridModel* gridModel = nullptr;

    // Title block.
    ClickableLabel* Image3 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* lblSysexLib = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // Status bar: panel 1 (maker), 2 (library count), 3 (synth detection), 4 (version).
    QStatusBar* StatusBar1 = nullptr;
    std::array<ClickableLabel*, 4> StatusPanel{};

    QTimer* Timer1 = nullptr;

    // Menus.
    QMenu* mnuFiles = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuBid7 = nullptr;
    QAction* mnuQuit = nullptr;
    QMenu* mnuUtils = nullptr;
    QAction* mnuClear = nullptr;
    QMenu* mnuAsk = nullptr;
    QAction* mnuAbout = nullptr;

    // Rewrites status panel 2 from the number of lines in the library list.
    void UpdateLibraryCount();
    // Sets up the grid's headers, alignment and start-up column widths.
    void Fillgrid();
    // Gives the eight bank columns an equal share of the grid and picks the font size.
    void FitGridColumns();

    // Called on every tick of Timer1 (every 5000 ms); the MIDI link installs detection here.
    void setDetectionHook(std::function<void()> hook) { detectionHook_ = std::move(hook); }
    // Called once when the window closes, before the program ends (closes open MIDI ports).
    void setShutdownHook(std::function<void()> hook) { shutdownHook_ = std::move(hook); }

    // Current geometry in twips, as the placement rules last left it.
    const MainGeometry& geometryTwips() const { return geometry_; }
    int gridColumnWidthTwips() const { return gridColumnWidth_; }
    int gridFontPoints() const { return gridFontPoints_; }
    double logicalDpi() const;

    // Inner size that the window opens with, in pixels.
    QSize designClientSize() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildStatusBar();
    void styleControls();
    void Form_Resize();
    void placeControls();
    void mnuQuit_triggered();
    void Timer1_timeout();
    void cmdSize_clicked();

    AppContext& context_;
    QWidget* client_ = nullptr;
    MainGeometry geometry_;
    int gridColumnWidth_ = kGridDesignColumnWidth;
    int gridFontPoints_ = 8;
    std::function<void()> detectionHook_;
    std::function<void()> shutdownHook_;
    bool shutDown_ = false;
};

}  // namespace zanq
