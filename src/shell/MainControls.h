#pragma once
// The main window's controls in their design state: the file browser pane, the Patch Library
// list, the delete zone, the command buttons, the grid, the title block, the menus and the
// status bar. Every control carries its name, which is how the placement rules and the tests
// find it. frmMain owns one set and keeps it to itself.

#include <array>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListView;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;
class QTreeView;
class QWidget;

namespace zanq {

class ClickableLabel;
class Librarian;
class LibraryListWidget;
class MatrixGridModel;
struct MainPictures;

struct MainControls {
    QWidget* client = nullptr;

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

    // Menus.
    QMenu* mnuFiles = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuBid7 = nullptr;
    QAction* mnuQuit = nullptr;
    QMenu* mnuUtils = nullptr;
    QAction* mnuClear = nullptr;
    QMenu* mnuAsk = nullptr;
    QAction* mnuAbout = nullptr;

    // Builds every control inside window, the grid and the list over librarian.
    void build(QMainWindow& window, const Librarian& librarian, double logicalDpi);

private:
    void buildControls(const Librarian& librarian);
    void buildMenus(QMainWindow& window);
    void buildStatusBar(QMainWindow& window);
    void styleControls(double logicalDpi, const MainPictures& pictures);
};

}  // namespace zanq
