#include "export/InstallExport.h"

#include <QListWidget>
#include <QPushButton>

#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/MidiTransfers.h"
#include "model/LibraryListWidget.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq {

namespace {

class ExportCommands : public QObject {
public:
    ExportCommands(frmMain& window, AppContext& context)
        : QObject(&window), window_(window), context_(context) {
        setObjectName(QStringLiteral("ExportCommands"));
        export_ = new frmExport(&window, context.stores, context.prompter, context.midi,
                                context.programFolder, [&window] {
                                    if (auto* files = window.findChild<SysexFileCommands*>())
                                        files->RefreshFileList();
                                });
    }

    // A library line: the first entry of that name, at the bank and program of its own bytes.
    void List1_doubleClicked(QListWidgetItem* line) {
        if (!line)
            return;
        const Library& library = context_.stores.library;
        const std::size_t index = library.FindInLibrary(LibraryListWidget::toName(line->text()));
        if (index == 0)
            return;
        const PatchRecord record = library.entry(index);
        export_->LoadPatch(record, GetBankByte(record), GetProgramByte(record));
        if (!export_->isVisible()) {
            export_->setWindowModality(Qt::NonModal);
            export_->show();
        }
        export_->raise();
        export_->activateWindow();
    }

    // A filled grid slot: modal, at the slot's own place. A window already open from the
    // library cannot turn modal, so it simply takes the new patch.
    void FlexGrid1_exportSlot(int bankNumber, int slot) {
        const PatchRecord record = context_.stores.matrix.at(bankNumber, slot);
        if (record.empty())
            return;
        export_->LoadPatch(record, bankNumber - 1, slot - 1);
        if (!export_->isVisible()) {
            export_->setWindowModality(Qt::ApplicationModal);
            export_->show();
        }
        export_->raise();
        export_->activateWindow();
    }

    frmExport* window() const { return export_; }

private:
    frmMain& window_;
    AppContext& context_;
    frmExport* export_ = nullptr;
};

}  // namespace

void InstallExport(frmMain& window, AppContext& context) {
    auto* commands = new ExportCommands(window, context);
    frmExport* exportWindow = commands->window();
    QObject::connect(window.List1, &QListWidget::itemDoubleClicked, commands,
                     [commands](QListWidgetItem* line) { commands->List1_doubleClicked(line); });
    if (MidiTransfers* transfers = FindMidiTransfers(window))
        transfers->exportGridPatch = [commands](int bankNumber, int slot) {
            commands->FlexGrid1_exportSlot(bankNumber, slot);
        };
    if (DeepMindDetector* detector = FindDeepMindDetector(window)) {
        exportWindow->cmdSendToMidi->setEnabled(detector->outputFound());
        QObject::connect(detector, &DeepMindDetector::outputPresenceChanged,
                         exportWindow->cmdSendToMidi, &QPushButton::setEnabled);
    }
}

frmExport* FindExportWindow(frmMain& window) {
    return window.findChild<frmExport*>(QStringLiteral("frmExport"), Qt::FindDirectChildrenOnly);
}

}  // namespace zanq
