#include "midi/frmBankSend.h"

#include <QCoreApplication>
#include <QPushButton>

#include "midi/modMIDI.h"
#include "model/Matrix.h"

namespace zanq {

namespace {
const QString kSendCaption = QStringLiteral("SEND");
}

frmBankSend::frmBankSend(QWidget* parent, const Matrix& matrix, modMIDI& midi,
                         std::function<void()> pump)
    : BankRunDialog(parent, "frmBankSend", QStringLiteral("Midi Bank Send")),
      matrix_(matrix),
      midi_(midi),
      pump_(std::move(pump)) {
    if (!pump_)
        pump_ = [] { QCoreApplication::processEvents(); };
    cmdMidiSend = addStartButton("cmdMidiSend", kSendCaption);
    connect(cmdMidiSend, &QPushButton::clicked, this, &frmBankSend::cmdMidiSend_Click);
}

void frmBankSend::cmdMidiSend_Click() {
    if (!beginRun())
        return;
    cmdMidiSend->setEnabled(false);
    for (int b = 1; b <= kBanks && !stopRequested(); ++b) {
        if (!isTicked(b))
            continue;
        for (int p = 1; p <= kSlots && !stopRequested(); ++p) {
            const Slot slot{Bank::fromNumber(b), Program::fromNumber(p)};
            if (matrix_.isEmpty(slot))
                continue;
            cmdMidiSend->setText(QStringLiteral("Sending ") + QString::fromStdString(slot.place()) +
                                 QStringLiteral(" ..."));
            // A port that does not open now will not open for the next patch either.
            if (!midi_.SendSysex(matrix_.at(slot)))
                stopRun();
            pump_();
        }
    }
    cmdMidiSend->setEnabled(true);
    cmdMidiSend->setText(kSendCaption);
    endRun();
}

}  // namespace zanq
