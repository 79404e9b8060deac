#pragma once
// The file browser pane: Drive1, Dir1 and File1 browse the disk for .syx files. File1 lists
// what ListSysexFiles finds and follows the folder as other programs add, remove or rename
// files; Dir1 shows the current folder's name whole (it scrolls sideways, and its tool tip is
// the full path) and fills once the window has been painted. SysexFileCommands adds the Load
// commands to it.

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "shell/frmMain.h"
#include "sysexfiles/SysexFolder.h"

class QAbstractFileIconProvider;
class QFileSystemModel;
class QFileSystemWatcher;
class QModelIndex;
class QSettings;
class QStringListModel;
class QTimer;

namespace zanq {

class SysexFileBrowser : public QObject {
    Q_OBJECT
public:
    SysexFileBrowser(frmMain& window, const QString& startFolder);
    ~SysexFileBrowser() override;

    // File1 re-reads its folder (clearing its selection), then the Load buttons follow.
    void RefreshFileList();
    // Load all: enabled when File1 has lines; the other three when a line is selected.
    // All four stay disabled while a load runs, so no second load can start inside it.
    void UpdateLoadButtons();

    bool hasSelectedFile() const;
    QString selectedFileName() const;
    // The folder File1 shows, "/" and the selected name; empty when nothing is selected.
    QString selectedFilePath() const;
    // The same in the file system's own bytes, which open also a name that is not UTF-8.
    QByteArray selectedNativePath() const;
    // The folder File1 lists.
    QString folder() const;
    // Shows a folder in Dir1 and File1 (and its drive in Drive1).
    void setFolder(const QString& path);

    // Lines of File1, in the order shown.
    int fileCount() const;
    QString fileNameAt(int row) const;
    const SysexFileEntry& fileAt(int row) const;
    void selectFile(int row);

    // Opens in the folder shown last time (when it still exists) and remembers every folder
    // shown from now on. settings must outlive the pane.
    void rememberFolderIn(QSettings& settings);

signals:
    // A double click on a File1 line.
    void fileDoubleClicked();

protected:
    // While a load runs the Load buttons are off and the list holds still: changes of the
    // folder on disk are shown once the load has ended.
    void setLoading(bool loading);
    bool isLoading() const { return loading_; }

    frmMain& window_;
    FileBrowserControls browser_;

private:
    void buildBrowser();
    // Dir1's model and view, built once the window has been painted.
    void buildFolderTree();
    // Dir1 opens the drive of the folder shown and selects that folder in it.
    void showFolderInTree();
    void Drive1_activated(int index);
    void Dir1_currentChanged(const QModelIndex& current);
    void folderShown();
    // The folders arrive from a background reader and are sorted a moment later: scrolls the
    // current folder into sight once they have settled (inSight_ waits for that).
    void keepCurrentFolderInSight();
    // Re-reads the folder after a change on disk, keeping the selected file selected.
    void followFolder();
    void showEntries(std::vector<SysexFileEntry> entries);
    int selectedRow() const;

    // Declared first, so it outlives the model that asks it for icons.
    std::unique_ptr<QAbstractFileIconProvider> folderIcons_;
    std::unique_ptr<QFileSystemModel> dirModel_;
    QStringListModel* fileModel_ = nullptr;
    std::vector<SysexFileEntry> entries_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr;
    QTimer* inSight_ = nullptr;
    QSettings* settings_ = nullptr;
    QString folder_;
    bool loading_ = false;
    bool changedWhileLoading_ = false;
};

}  // namespace zanq
