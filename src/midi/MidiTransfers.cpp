#include "midi/MidiTransfers.h"

#include "midi/ProgramExchange.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
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

void MidiTransfers::cmdMIDI_OUT_dropped(DragSource source) {
    if (source == DragSource::Grid && context_.dragOrigin)
        SendGridPatch(*context_.dragOrigin);
}

void MidiTransfers::FlexGrid1_doubleClicked(Slot slot) {
    if (!context_.librarian.isEmpty(slot) || !exchange_ || exchange_->busy())
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
    QObject::connect(&window, &frmMain::midiOutClicked, transfers,
                     &MidiTransfers::cmdMIDI_OUT_clicked);
    QObject::connect(&window, &frmMain::midiInClicked, transfers,
                     &MidiTransfers::cmdMIDI_IN_clicked);
    QObject::connect(&window, &frmMain::emptySlotDoubleClicked, transfers,
                     &MidiTransfers::FlexGrid1_doubleClicked);
    QObject::connect(&window, &frmMain::droppedOnMidiOut, transfers,
                     &MidiTransfers::cmdMIDI_OUT_dropped);
}

}  // namespace zanq
