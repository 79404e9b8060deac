#include "midi/frmBankSend.h"

#include <QPushButton>

namespace zanq {

frmBankSend::frmBankSend(QWidget* parent, MidiLink& link, const Librarian& librarian)
    : BankRunDialog(parent, "frmBankSend", QStringLiteral("Midi Bank Send")),
      link_(link),
      librarian_(librarian) {
    cmdMidiSend = addStartButton("cmdMidiSend", QStringLiteral("SEND"));
    connect(cmdMidiSend, &QPushButton::clicked, this, &frmBankSend::cmdMidiSend_Click);
}

void frmBankSend::cmdMidiSend_Click() {
    if (running())
        return;
    auto* run = new BankSendRun(link_, librarian_, tickedBanks());
    showRun(run,
            [](Slot slot) {
                return QStringLiteral("Sending ") + QString::fromStdString(slot.place()) +
                       QStringLiteral(" ...");
            },
            {});
    run->start();
}

}  // namespace zanq
