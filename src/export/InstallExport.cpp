#include "export/InstallExport.h"

#include <QPushButton>

#include "export/frmExport.h"
#include "model/PatchName.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {

class ExportCommands : public QObject {
public:
    ExportCommands(frmMain& window, AppContext& context) : QObject(&window), context_(context) {
        setObjectName(QStringLiteral("ExportCommands"));
        export_ = new frmExport(&window, context.librarian.dialect(), context.ExportPatch,
                                context.prompter, context.midi, context.programFolder,
                                [&window] { window.announceFilesChanged(); });
        connect(&window, &frmMain::libraryLineDoubleClicked, this,
                &ExportCommands::List1_doubleClicked);
        connect(&window, &frmMain::filledSlotDoubleClicked, this,
                &ExportCommands::FlexGrid1_doubleClicked);
        // "Send to DM" is there while the synth's output port is.
        export_->cmdSendToMidi->setEnabled(window.synthOutputFound());
        connect(&window, &frmMain::synthOutputFoundChanged, export_->cmdSendToMidi,
                &QPushButton::setEnabled);
    }

private:
    // A library line: the first entry of that name, at the bank and program of its own bytes.
    void List1_doubleClicked(const QString& name) {
        const std::optional<PatchRecord> record = context_.librarian.libraryPatch(NameBytes(name));
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
    void FlexGrid1_doubleClicked(Slot slot) {
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

    AppContext& context_;
    frmExport* export_ = nullptr;
};

}  // namespace

void InstallExport(frmMain& window, AppContext& context) {
    new ExportCommands(window, context);
}

}  // namespace zanq
