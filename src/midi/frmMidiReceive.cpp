#include "midi/frmMidiReceive.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "midi/ProgramExchange.h"
#include "model/PatchRecord.h"
#include "shell/Prompter.h"

namespace zanq {

frmMidiReceive::frmMidiReceive(QWidget* parent, ProgramExchange& exchange, Prompter& prompter)
    : QDialog(parent), exchange_(exchange), prompter_(prompter) {
    setObjectName(QStringLiteral("frmMidiReceive"));
    setWindowTitle(QStringLiteral("MIDI Receive"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 3180, 3480);

    for (int b = 1; b <= kBanks; ++b) {
        auto* box =
            new QCheckBox(QStringLiteral("Bank ") + QString::fromStdString(BankLetter(b)), this);
        box->setObjectName(QStringLiteral("chkBank%1").arg(b));
        PlaceTwips(*box, 1020, 180 + 300 * (b - 1), 1200, 285);
        chkBank[static_cast<std::size_t>(b)] = box;
    }
    cmdMidiReceive = new QPushButton(QStringLiteral("RECEIVE"), this);
    cmdMidiReceive->setObjectName(QStringLiteral("cmdMidiReceive"));
    cmdMidiReceive->setAutoDefault(false);
    PlaceTwips(*cmdMidiReceive, 240, 2700, 2700, 555);
    connect(cmdMidiReceive, &QPushButton::clicked, this, &frmMidiReceive::cmdMidiReceive_Click);
}

void frmMidiReceive::cmdMidiReceive_Click() {
    if (running_ || exchange_.busy())
        return;
    const QString caption = cmdMidiReceive->text();
    running_ = true;
    stop_ = false;
    cmdMidiReceive->setEnabled(false);
    for (int b = 1; b <= kBanks && !stop_; ++b) {
        if (!chkBank[static_cast<std::size_t>(b)]->isChecked())
            continue;
        for (int p = 1; p <= kSlots && !stop_; ++p) {
            cmdMidiReceive->setText(QStringLiteral("RECEIVING Bank ") +
                                    QString::fromStdString(BankLetter(b)) + QStringLiteral(" - ") +
                                    QString::fromStdString(FormatProgram(p)));
            if (exchange_.Exchange(b, p) == ProgramExchange::kNothingReceived) {
                // A window closed during the exchange asked to stop; no need to explain.
                if (!stop_)
                    prompter_.tell(this, kNoMidiDataMessage, kAppTitle, QMessageBox::NoIcon);
                stop_ = true;
            }
        }
    }
    cmdMidiReceive->setEnabled(true);
    cmdMidiReceive->setText(caption);
    running_ = false;
    if (closeAfterRun_)
        close();
}

void frmMidiReceive::stopAndClose() {
    // The run's loop is still on the stack: the window goes once the loop has ended.
    stop_ = true;
    closeAfterRun_ = true;
    hide();
}

void frmMidiReceive::reject() {
    if (running_)
        stopAndClose();
    else
        QDialog::reject();
}

void frmMidiReceive::closeEvent(QCloseEvent* event) {
    if (running_) {
        stopAndClose();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace zanq
