#include "midi/frmMidiReceive.h"

#include <QPushButton>

#include "midi/BankRuns.h"
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
    if (link_.requesting() || !beginRun())
        return;
    const QString caption = cmdMidiReceive->text();
    cmdMidiReceive->setEnabled(false);
    const std::vector<Bank> banks = tickedBanks();
    step_.emplace(librarian_, labels::ReceiveBanks({banks.begin(), banks.end()}));
    run_ = new BankReceiveRun(link_, librarian_, banks, this);
    connect(run_, &BankReceiveRun::slotStarted, this, [this](Slot slot) {
        cmdMidiReceive->setText(QStringLiteral("RECEIVING Bank ") + QChar(slot.bank.letter()) +
                                QStringLiteral(" - ") +
                                QString::fromStdString(slot.program.text()));
    });
    connect(run_, &BankReceiveRun::finished, this, [this, caption](RunEnd end) {
        run_->deleteLater();
        run_ = nullptr;
        step_.reset();
        // A window closed during the run asked to stop; no need to explain.
        if (end == RunEnd::NoReply && !stopRequested())
            prompter_.tell(this, kNoMidiDataMessage, kAppTitle, QMessageBox::NoIcon);
        cmdMidiReceive->setEnabled(true);
        cmdMidiReceive->setText(caption);
        endRun();
    });
    run_->start();
}

void frmMidiReceive::stopRun() {
    if (run_)
        run_->stop();
}

}  // namespace zanq
