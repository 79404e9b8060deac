#include "midi/MidiTransfers.h"

#include <QPushButton>
#include <QTableView>

#include "editing/EditingCommands.h"
#include "midi/ProgramExchange.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

MidiTransfers::MidiTransfers(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {
    setObjectName(QStringLiteral("MidiTransfers"));
    if (context.midi)
        exchange_ = std::make_unique<ProgramExchange>(*context.midi, context.stores.matrix);
}

MidiTransfers::~MidiTransfers() = default;

void MidiTransfers::cmdMIDI_OUT_clicked() {
    if (!context_.midi)
        return;
    (new frmBankSend(&window_, context_.stores.matrix, *context_.midi))->show();
}

void MidiTransfers::cmdMIDI_IN_clicked() {
    // A double click's exchange may still be waiting for its reply.
    if (!exchange_ || exchange_->busy())
        return;
    (new frmMidiReceive(&window_, *exchange_, context_.prompter))->show();
}

void MidiTransfers::SendGridPatch(int bankNumber, int slot) {
    const PatchRecord record = context_.stores.matrix.at(bankNumber, slot);
    if (record.empty() || !context_.midi)
        return;
    const std::string name = GetPatchName(record);
    const QString question = QStringLiteral("Do you want to send this matrix patch : ") + kCR +
                             QString::fromStdString(MatrixPlace(bankNumber, slot)) +
                             QStringLiteral(": ") +
                             QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
                             QStringLiteral(" ?");
    if (context_.prompter.askYesNo(&window_, question, QStringLiteral("Midi Send Patch"),
                                   QMessageBox::Question))
        context_.midi->SendSysex(record);
}

void MidiTransfers::FlexGrid1_doubleClicked(int bankNumber, int slot) {
    if (bankNumber < 1 || bankNumber > kBanks || slot < 1 || slot > kSlots)
        return;
    if (!context_.stores.matrix.isEmpty(bankNumber, slot)) {
        if (exportGridPatch)
            exportGridPatch(bankNumber, slot);
        return;
    }
    if (!exchange_ || exchange_->busy())
        return;
    if (exchange_->Exchange(bankNumber, slot) == ProgramExchange::kNothingReceived)
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
                         // Model row and column are slot - 1 and bank - 1.
                         transfers->FlexGrid1_doubleClicked(cell.column() + 1, cell.row() + 1);
                     });
    if (auto* editing = window.findChild<EditingCommands*>())
        editing->sendGridPatch = [transfers](int bankNumber, int slot) {
            transfers->SendGridPatch(bankNumber, slot);
        };
}

}  // namespace zanq
