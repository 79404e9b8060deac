#include "midi/MidiTransfers.h"

#include <QPushButton>
#include <QTableView>

#include "editing/EditingCommands.h"
#include "midi/ProgramExchange.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
#include "model/MatrixGridModel.h"
#include "model/PatchName.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

MidiTransfers::MidiTransfers(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {
    setObjectName(QStringLiteral("MidiTransfers"));
    if (context.midi)
        exchange_ = std::make_unique<ProgramExchange>(*context.midi, context.librarian);
}

MidiTransfers::~MidiTransfers() = default;

void MidiTransfers::cmdMIDI_OUT_clicked() {
    if (!context_.midi)
        return;
    (new frmBankSend(&window_, context_.librarian.matrix(), *context_.midi))->show();
}

void MidiTransfers::cmdMIDI_IN_clicked() {
    // A double click's exchange may still be waiting for its reply.
    if (!exchange_ || exchange_->busy())
        return;
    (new frmMidiReceive(&window_, *exchange_, context_.prompter))->show();
}

void MidiTransfers::SendGridPatch(Slot slot) {
    const PatchRecord record = context_.librarian.at(slot);
    if (record.empty() || !context_.midi)
        return;
    const QString question = QStringLiteral("Do you want to send this matrix patch : ") + kCR +
                             QString::fromStdString(slot.place()) + QStringLiteral(": ") +
                             NameText(context_.librarian.dialect().patchName(record)) +
                             QStringLiteral(" ?");
    if (context_.prompter.askYesNo(&window_, question, QStringLiteral("Midi Send Patch"),
                                   QMessageBox::Question))
        context_.midi->SendSysex(record);
}

void MidiTransfers::FlexGrid1_doubleClicked(Slot slot) {
    if (!context_.librarian.isEmpty(slot)) {
        if (exportGridPatch)
            exportGridPatch(slot);
        return;
    }
    if (!exchange_ || exchange_->busy())
        return;
    if (exchange_->Exchange(slot.bank.number(), slot.program.number()) ==
        ProgramExchange::kNothingReceived)
        // The same advice as a bank run gives, shown as information.
        context_.prompter.tell(&window_, kNoMidiDataMessage, kAppTitle, QMessageBox::Information);
}

MidiTransfers* FindMidiTransfers(frmMain& window) {
    return window.findChild<MidiTransfers*>(QStringLiteral("MidiTransfers"),
                                            Qt::FindDirectChildrenOnly);
}

void InstallMidiTransfers(frmMain& window, AppContext& context) {
    auto* transfers = new MidiTransfers(window, context);
    QObject::connect(window.cmdMIDI_OUT, &QPushButton::clicked, transfers,
                     &MidiTransfers::cmdMIDI_OUT_clicked);
    QObject::connect(window.cmdMIDI_IN, &QPushButton::clicked, transfers,
                     &MidiTransfers::cmdMIDI_IN_clicked);
    QObject::connect(window.FlexGrid1, &QTableView::doubleClicked, transfers,
                     [transfers](const QModelIndex& cell) {
                         if (cell.isValid())
                             transfers->FlexGrid1_doubleClicked(MatrixGridModel::slotAt(cell));
                     });
    if (auto* editing = window.findChild<EditingCommands*>())
        editing->sendGridPatch = [transfers](Slot slot) { transfers->SendGridPatch(slot); };
}

}  // namespace zanq
