#include "midi/frmMidiReceive.h"

#include <QPushButton>

#include "midi/MidiLink.h"
#include "model/StepLabels.h"
#include "shell/Prompter.h"

namespace zanq {

frmMidiReceive::frmMidiReceive(QWidget* parent, MidiLink& link, Librarian& librarian,
                               Prompter& prompter)
    : BankRunDialog(parent, "frmMidiReceive", QStringLiteral("MIDI Receive")),
      link_(link),
      librarian_(librarian),
      prompter_(prompter) {
    cmdMidiReceive = addStartButton("cmdMidiReceive", QStringLiteral("RECEIVE"));
    connect(cmdMidiReceive, &QPushButton::clicked, this, &frmMidiReceive::cmdMidiReceive_Click);
}

void frmMidiReceive::cmdMidiReceive_Click() {
    if (link_.requesting() || running())
        return;
    const std::vector<Bank> banks = tickedBanks();
    step_.emplace(librarian_, labels::ReceiveBanks({banks.begin(), banks.end()}));
    auto* run = new BankReceiveRun(link_, librarian_, banks);
    showRun(
        run,
        [](Slot slot) {
            return QStringLiteral("RECEIVING Bank ") + QChar(slot.bank.letter()) +
                   QStringLiteral(" - ") + QString::fromStdString(slot.program.text());
        },
        [this](RunEnd end) {
            step_.reset();
            // A window closed during the run asked to stop; no need to explain.
            if (end == RunEnd::NoReply && !stopRequested())
                prompter_.tell(this, kNoMidiDataMessage, kAppTitle, QMessageBox::NoIcon);
        });
    run->start();
}

}  // namespace zanq
