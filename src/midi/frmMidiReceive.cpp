#include "midi/frmMidiReceive.h"

#include <QPushButton>

#include "midi/ProgramExchange.h"
#include "model/PatchRecord.h"
#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "shell/Prompter.h"

namespace zanq {

frmMidiReceive::frmMidiReceive(QWidget* parent, ProgramExchange& exchange, Prompter& prompter)
    : BankRunDialog(parent, "frmMidiReceive", QStringLiteral("MIDI Receive")),
      exchange_(exchange),
      prompter_(prompter) {
    cmdMidiReceive = addStartButton("cmdMidiReceive", QStringLiteral("RECEIVE"));
    connect(cmdMidiReceive, &QPushButton::clicked, this, &frmMidiReceive::cmdMidiReceive_Click);
}

void frmMidiReceive::cmdMidiReceive_Click() {
    if (exchange_.busy() || !beginRun())
        return;
    std::set<Bank> banks;
    for (int b = 1; b <= kBanks; ++b)
        if (isTicked(b))
            banks.insert(Bank::fromNumber(b));
    const StepScope step(exchange_.librarian(), labels::ReceiveBanks(banks));
    const QString caption = cmdMidiReceive->text();
    cmdMidiReceive->setEnabled(false);
    for (int b = 1; b <= kBanks && !stopRequested(); ++b) {
        if (!isTicked(b))
            continue;
        for (int p = 1; p <= kSlots && !stopRequested(); ++p) {
            cmdMidiReceive->setText(QStringLiteral("RECEIVING Bank ") +
                                    QString::fromStdString(BankLetter(b)) + QStringLiteral(" - ") +
                                    QString::fromStdString(FormatProgram(p)));
            if (exchange_.Exchange(b, p) == ProgramExchange::kNothingReceived) {
                // A window closed during the exchange asked to stop; no need to explain.
                if (!stopRequested())
                    prompter_.tell(this, kNoMidiDataMessage, kAppTitle, QMessageBox::NoIcon);
                stopRun();
            }
        }
    }
    cmdMidiReceive->setEnabled(true);
    cmdMidiReceive->setText(caption);
    endRun();
}

}  // namespace zanq
