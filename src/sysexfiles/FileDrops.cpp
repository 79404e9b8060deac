#include "sysexfiles/FileDrops.h"

#include <unistd.h>

#include <cerrno>

#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq {

FileDrops::FileDrops(frmMain& window, AppContext& context, SysexFileCommands& files)
    : QObject(&files), window_(window), context_(context), files_(files) {
    connect(&window, &frmMain::droppedOnGrid, this,
            [this](DragSource source, Slot) { droppedOnGrid(source); });
    connect(&window, &frmMain::droppedOnLibrary, this, &FileDrops::droppedOnLibrary);
    connect(&window, &frmMain::droppedOnDeleteZone, this, &FileDrops::droppedOnDeleteZone);
    // Files from a file manager load as a drop of each from the file list would, in turn.
    connect(&window, &frmMain::filesDroppedOnGrid, this,
            [this](const QStringList& paths) { files_.loadDroppedFiles(paths, true, false); });
    connect(&window, &frmMain::filesDroppedOnLibrary, this,
            [this](const QStringList& paths) { files_.loadDroppedFiles(paths, false, true); });
}

void FileDrops::droppedOnGrid(DragSource source) {
    // The records go where their own bytes say.
    if (source == DragSource::Files && files_.hasSelectedFile())
        files_.cmdLoadInMatrix_clicked();
}

void FileDrops::droppedOnLibrary(DragSource source) {
    if (source == DragSource::Files && files_.hasSelectedFile())
        files_.cmdLoadPatchlist_clicked();
}

void FileDrops::droppedOnDeleteZone(DragSource source) {
    if (source != DragSource::Files || !files_.hasSelectedFile())
        return;
    const QString fileName = files_.selectedFileName();
    const QString question = QStringLiteral("Do you want to delete the file : ") + kCR + kCR +
                             fileName + QStringLiteral(" ?");
    if (!context_.prompter.askYesNoDefaultNo(&window_, question, QStringLiteral("WARNING"),
                                             QMessageBox::Warning))
        return;
    // By the name's own bytes, which need not be UTF-8.
    if (::unlink(files_.selectedNativePath().constData()) != 0) {
        // Read-only folder, file in use or already gone: say so once and leave things be.
        context_.prompter.tell(&window_,
                               QStringLiteral("The file ") + fileName +
                                   QStringLiteral(" could not be deleted :") + kCR + kCR +
                                   qt_error_string(errno),
                               kAppTitle, QMessageBox::Warning);
        return;
    }
    files_.RefreshFileList();
}

}  // namespace zanq
