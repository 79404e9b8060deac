#include "midi/frmBankSend.h"

#include <QPushButton>

#include "midi/BankRuns.h"

namespace zanq {

namespace {
const QString kSendCaption = QStringLiteral("SEND");
}

frmBankSend::frmBankSend(QWidget* parent, MidiLink& link, const Librarian& librarian)
    : BankRunDialog(parent, "frmBankSend", QStringLiteral("Midi Bank Send")),
      link_(link),
      librarian_(librarian) {
    cmdMidiSend = addStartButton("cmdMidiSend", kSendCaption);
    connect(cmdMidiSend, &QPushButton::clicked, this, &frmBankSend::cmdMidiSend_Click);
}

void frmBankSend::cmdMidiSend_Click() {
    if (!beginRun())
        return;
    cmdMidiSend->setEnabled(false);
    run_ = new BankSendRun(link_, librarian_, tickedBanks(), this);
    connect(run_, &BankSendRun::slotStarted, this, [this](Slot slot) {
        cmdMidiSend->setText(QStringLiteral("Sending ") + QString::fromStdString(slot.place()) +
                             QStringLiteral(" ..."));
    });
    connect(run_, &BankSendRun::finished, this, [this] {
        run_->deleteLater();
        run_ = nullptr;
        cmdMidiSend->setEnabled(true);
        cmdMidiSend->setText(kSendCaption);
        endRun();
    });
    run_->start();
}

void frmBankSend::stopRun() {
    if (run_)
        run_->stop();
}

}  // namespace zanq
