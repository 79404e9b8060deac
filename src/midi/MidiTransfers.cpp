#include "midi/MidiTransfers.h"

#include "midi/MidiLink.h"
#include "midi/PatchSend.h"
#include "midi/ProgramExchange.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/Librarian.h"
#include "model/PatchName.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

MidiTransfers::MidiTransfers(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {
    if (!context.midi)
        return;
    exchange_ = new ProgramExchange(*context.midi, context.librarian, this);
    connect(exchange_, &ProgramExchange::finished, this, [this](const ExchangeResult& result) {
        if (result.outcome == ReplyOutcome::NoReply)
            // The same advice as a bank run gives, shown as information.
            context_.prompter.tell(&window_, kNoMidiDataMessage, kAppTitle,
                                   QMessageBox::Information);
    });
}

void MidiTransfers::cmdMIDI_OUT_clicked() {
    if (!context_.midi)
        return;
    (new frmBankSend(&window_, *context_.midi, context_.librarian))->show();
}

void MidiTransfers::cmdMIDI_IN_clicked() {
    // A double click's exchange may still be waiting for its reply.
    if (!context_.midi || context_.midi->requesting())
        return;
    (new frmMidiReceive(&window_, *context_.midi, context_.librarian, context_.prompter))->show();
}

void MidiTransfers::SendGridPatch(Slot slot) {
    const PatchRecord& record = context_.librarian.at(slot);
    if (record.empty() || !context_.midi)
        return;
    const QString question = QStringLiteral("Do you want to send this matrix patch : ") + kCR +
                             QString::fromStdString(slot.place()) + QStringLiteral(": ") +
                             NameText(context_.librarian.dialect().patchName(record)) +
                             QStringLiteral(" ?");
    if (context_.prompter.askYesNo(&window_, question, QStringLiteral("Midi Send Patch"),
                                   QMessageBox::Question))
        SendOnePatch(window_, *context_.midi, context_.librarian.dialect(), context_.prompter, slot,
                     record);
}

void MidiTransfers::cmdMIDI_OUT_dropped(DragSource source) {
    if (source == DragSource::Grid && context_.dragOrigin)
        SendGridPatch(*context_.dragOrigin);
}

void MidiTransfers::FlexGrid1_doubleClicked(Slot slot) {
    if (context_.librarian.isEmpty(slot) && exchange_)
        exchange_->start(slot);
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
