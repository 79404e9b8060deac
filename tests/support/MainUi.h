#pragma once
// The main window's controls as a test reaches them: by the names they carry, the way a user's
// tools see them. The window itself keeps them private.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <array>

#include "export/frmExport.h"
#include "model/LibraryListWidget.h"
#include "model/MatrixGridModel.h"
#include "shell/ClickableLabel.h"

namespace zanq::test {

struct MainUi {
    explicit MainUi(const QObject& window) : w(window) {}

    template <typename T>
    T* named(const char* name) const {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT_X(found, "MainUi", name);
        return found;
    }

    const QObject& w;
    QComboBox* Drive1 = named<QComboBox>("Drive1");
    QTreeView* Dir1 = named<QTreeView>("Dir1");
    QListView* File1 = named<QListView>("File1");
    QPushButton* cmdLoadPatchListMatrix = named<QPushButton>("cmdLoadPatchListMatrix");
    QPushButton* cmdLoadPatchlist = named<QPushButton>("cmdLoadPatchlist");
    QPushButton* cmdLoadInMatrix = named<QPushButton>("cmdLoadInMatrix");
    QPushButton* cmdLoadAll = named<QPushButton>("cmdLoadAll");
    LibraryListWidget* List1 = named<LibraryListWidget>("List1");
    QLabel* Image1 = named<QLabel>("Image1");
    QPushButton* cmdMIDI_IN = named<QPushButton>("cmdMIDI_IN");
    QPushButton* cmdMIDI_OUT = named<QPushButton>("cmdMIDI_OUT");
    QPushButton* cmdMatrixUtils = named<QPushButton>("cmdMatrixUtils");
    QPushButton* cmdSearch = named<QPushButton>("cmdSearch");
    QPushButton* cmdSauver = named<QPushButton>("cmdSauver");
    ClickableLabel* lblversion = named<ClickableLabel>("lblversion");
    QTableView* FlexGrid1 = named<QTableView>("FlexGrid1");
    MatrixGridModel* gridModel = qobject_cast<MatrixGridModel*>(FlexGrid1->model());
    ClickableLabel* Image3 = named<ClickableLabel>("Image3");
    QProgressBar* ProgressBar1 = named<QProgressBar>("ProgressBar1");
    QStatusBar* StatusBar1 = named<QStatusBar>("StatusBar1");
    std::array<ClickableLabel*, 4> StatusPanel{
        named<ClickableLabel>("StatusBar1Panel1"), named<ClickableLabel>("StatusBar1Panel2"),
        named<ClickableLabel>("StatusBar1Panel3"), named<ClickableLabel>("StatusBar1Panel4")};
    QTimer* Timer1 = named<QTimer>("Timer1");
    QAction* mnuSave = named<QAction>("mnuSave");
    QAction* mnuQuit = named<QAction>("mnuQuit");
    QAction* mnuClear = named<QAction>("mnuClear");
    QAction* mnuAbout = named<QAction>("mnuAbout");

    // The library list's lines, top to bottom.
    QStringList libraryLines() const {
        QStringList lines;
        for (int row = 0; row < List1->count(); ++row)
            lines << List1->item(row)->text();
        return lines;
    }
};

}  // namespace zanq::test

namespace zanq {
// The Export Patch window made for this main window, by its name; nullptr before any.
inline frmExport* FindExportWindow(const QObject& window) {
    return window.findChild<frmExport*>(QStringLiteral("frmExport"), Qt::FindDirectChildrenOnly);
}
}  // namespace zanq
