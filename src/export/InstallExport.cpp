#include "export/InstallExport.h"

#include <QListWidget>
#include <QPushButton>

#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/MidiTransfers.h"
#include "model/LibraryListWidget.h"
#include "model/PatchName.h"
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
        export_ = new frmExport(&window, context.librarian.dialect(), context.ExportPatch,
                                context.prompter, context.midi, context.programFolder, [&window] {
                                    if (auto* files = window.findChild<SysexFileCommands*>())
                                        files->RefreshFileList();
                                });
    }

    // A library line: the first entry of that name, at the bank and program of its own bytes.
    void List1_doubleClicked(QListWidgetItem* line) {
        if (!line)
            return;
        const std::optional<PatchRecord> record =
            context_.librarian.libraryPatch(NameBytes(line->text()));
        if (!record)
            return;
        export_->LoadPatch(*record, context_.librarian.dialect().slotOf(*record));
        if (!export_->isVisible()) {
            export_->setWindowModality(Qt::NonModal);
            export_->show();
        }
        export_->raise();
        export_->activateWindow();
    }

    // A filled grid slot: modal, at the slot's own place. A window already open from the
    // library cannot turn modal, so it simply takes the new patch.
    void FlexGrid1_exportSlot(Slot slot) {
        const PatchRecord record = context_.librarian.at(slot);
        if (record.empty())
            return;
        export_->LoadPatch(record, slot);
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
        transfers->exportGridPatch = [commands](Slot slot) {
            commands->FlexGrid1_exportSlot(slot);
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
