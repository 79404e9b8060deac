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
    ExportCommands(frmMain& window, AppContext& context)
        : QObject(&window), window_(window), context_(context) {
        setObjectName(QStringLiteral("ExportCommands"));
        connect(&window, &frmMain::libraryLineDoubleClicked, this,
                &ExportCommands::List1_doubleClicked);
        connect(&window, &frmMain::filledSlotDoubleClicked, this,
                &ExportCommands::FlexGrid1_doubleClicked);
    }

private:
    // Built on first use: most sessions never open it, and the main window's first paint
    // need not wait for it.
    frmExport& exportWindow() {
        if (export_)
            return *export_;
        export_ = new frmExport(&window_, context_.librarian.dialect(), context_.ExportPatch,
                                context_.prompter, context_.midi, context_.programFolder,
                                [this] { window_.announceFilesChanged(); });
        // "Send to DM" is there while the synth's output port is.
        export_->cmdSendToMidi->setEnabled(window_.synthOutputFound());
        connect(&window_, &frmMain::synthOutputFoundChanged, export_->cmdSendToMidi,
                &QPushButton::setEnabled);
        return *export_;
    }

    // A library line: the first entry of that name, at the bank and program of its own bytes.
    void List1_doubleClicked(const QString& name) {
        const std::optional<PatchRecord> record = context_.librarian.libraryPatch(NameBytes(name));
        if (!record)
            return;
        frmExport& window = exportWindow();
        window.LoadPatch(*record, context_.librarian.dialect().slotOf(*record));
        if (!window.isVisible()) {
            window.setWindowModality(Qt::NonModal);
            window.show();
        }
        window.raise();
        window.activateWindow();
    }

    // A filled grid slot: modal, at the slot's own place. A window already open from the
    // library cannot turn modal, so it simply takes the new patch.
    void FlexGrid1_doubleClicked(Slot slot) {
        const PatchRecord record = context_.librarian.at(slot);
        if (record.empty())
            return;
        frmExport& window = exportWindow();
        window.LoadPatch(record, slot);
        if (!window.isVisible()) {
            window.setWindowModality(Qt::ApplicationModal);
            window.show();
        }
        window.raise();
        window.activateWindow();
    }

    frmMain& window_;
    AppContext& context_;
    frmExport* export_ = nullptr;
};

}  // namespace

void InstallExport(frmMain& window, AppContext& context) {
    new ExportCommands(window, context);
}

}  // namespace zanq
