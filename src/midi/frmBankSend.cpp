#include "midi/frmBankSend.h"

#include <QCheckBox>
#include <QPushButton>

#include "midi/VerifySetting.h"

namespace zanq {

frmBankSend::frmBankSend(QWidget* parent, MidiLink& link, const Librarian& librarian)
    : BankRunDialog(parent, "frmBankSend", QStringLiteral("Midi Bank Send")),
      link_(link),
      librarian_(librarian) {
    cmdMidiSend = addStartButton("cmdMidiSend", QStringLiteral("SEND"));
    connect(cmdMidiSend, &QPushButton::clicked, this, &frmBankSend::cmdMidiSend_Click);
    chkVerify = addOption("chkVerify", QStringLiteral("Verify"));
    chkVerify->setChecked(VerifySends());
    connect(chkVerify, &QCheckBox::toggled, this, &SetVerifySends);
}

void frmBankSend::cmdMidiSend_Click() {
    if (running())
        return;
    auto* run = new BankSendRun(link_, librarian_, tickedBanks());
    run->setReadBack(chkVerify->isChecked());
    showRun(run,
            [](Slot slot) {
                return QStringLiteral("Sending ") + QString::fromStdString(slot.place()) +
                       QStringLiteral(" ...");
            },
            {});
    connect(run, &BankSendRun::readingBack, this, [this](Slot slot) {
        progressText(QStringLiteral("Verifying ") + QString::fromStdString(slot.place()) +
                     QStringLiteral(" ..."));
    });
    run->start();
}

}  // namespace zanq
