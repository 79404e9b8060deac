#pragma once
// A main window with the file browser and the editing handlers installed, over a scratch
// folder, answering its questions from a script. Drops arrive as the window announces them.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "editing/InstallEditing.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq::test {

struct EditingHarness {
    QTemporaryDir folder;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    ScriptedPrompter prompter;
    AppContext context{librarian, prompter, folder.path()};
    std::unique_ptr<frmMain> window;
    SysexFileCommands* files = nullptr;

    EditingHarness() {
        window = std::make_unique<frmMain>(context);
        InstallSysexFiles(*window, context);
        InstallEditing(*window, context);
        files = window->findChild<SysexFileCommands*>();
    }

    MainUi ui() const { return Ui(*window); }
    QString cell(Slot slot) const { return ui().gridModel->cellText(slot); }
    QString counter() const { return ui().StatusPanel[1]->text(); }

    // Writes a .syx file of these records into the browsed folder and selects it.
    QString writeAndSelect(const QString& name, const std::vector<PatchRecord>& records) {
        QFile file(QDir(folder.path()).filePath(name));
        file.open(QIODevice::WriteOnly);
        for (const PatchRecord& r : records)
            file.write(r.data(), static_cast<qint64>(r.size()));
        file.close();
        files->RefreshFileList();
        for (int row = 0; row < files->fileCount(); ++row)
            if (files->fileNameAt(row) == name)
                files->selectFile(row);
        return file.fileName();
    }

    void dropOnGrid(DragSource source, Slot cell) { emit window->droppedOnGrid(source, cell); }
    void dropOnLibrary(DragSource source) { emit window->droppedOnLibrary(source); }
    void dropOnDeleteZone(DragSource source) { emit window->droppedOnDeleteZone(source); }
};

}  // namespace zanq::test
