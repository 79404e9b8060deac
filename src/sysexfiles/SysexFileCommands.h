#pragma once
// The file browser pane and the four Load commands: Drive1 / Dir1 / File1 browse the disk for
// .syx files, the Load buttons read the selected file (or every listed file) into the Matrix,
// the Patch Library or both.

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "shell/frmMain.h"

class QFileSystemModel;
class QModelIndex;
class QStringListModel;

namespace zanq {

class SysexFileCommands : public QObject {
    Q_OBJECT
public:
    SysexFileCommands(frmMain& window, AppContext& context);
    ~SysexFileCommands() override;

    // The four Load buttons.
    void cmdLoadInMatrix_clicked();
    void cmdLoadPatchlist_clicked();
    void cmdLoadPatchListMatrix_clicked();
    void cmdLoadAll_clicked();

    // File1 re-reads its folder (clearing its selection), then the Load buttons follow.
    void RefreshFileList();
    // Load all: enabled when File1 has lines; the other three when a line is selected.
    void UpdateLoadButtons();

    bool hasSelectedFile() const;
    QString selectedFileName() const;
    // The folder File1 shows, "/" and the selected name; empty when nothing is selected.
    QString selectedFilePath() const;
    // The folder File1 lists.
    QString folder() const;
    // Shows a folder in Dir1 and File1 (and its drive in Drive1).
    void setFolder(const QString& path);

    // The engine behind every Load command: reads one file into the stores. Returns false
    // (after telling the user) when the file cannot be read; the stores are then unchanged.
    bool LoadSysexFile(const QString& path, bool toMatrix, bool toLibrary);

    // Lines of File1, in the order shown.
    int fileCount() const;
    QString fileNameAt(int row) const;
    void selectFile(int row);

private:
    void buildBrowser();
    void Drive1_activated(int index);
    void Dir1_currentChanged(const QModelIndex& current);
    void File1_doubleClicked();
    void runSingleFileLoad(bool toMatrix, bool toLibrary);
    void setBrowserEnabled(bool enabled);
    // Lets pending window events run; within a load at most every few milliseconds.
    void LetEventsRun(bool always = false);

    frmMain& window_;
    AppContext& context_;
    FileBrowserControls browser_;
    QFileSystemModel* dirModel_ = nullptr;
    QStringListModel* fileModel_ = nullptr;
    QString folder_;
    QElapsedTimer sincePump_;
};

}  // namespace zanq
