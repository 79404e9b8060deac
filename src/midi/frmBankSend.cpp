#include "midi/frmBankSend.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "midi/modMIDI.h"
#include "model/Matrix.h"

namespace zanq {

namespace {
const QString kSendCaption = QStringLiteral("SEND");
}

frmBankSend::frmBankSend(QWidget* parent, const Matrix& matrix, modMIDI& midi,
                         std::function<void()> pump)
    : QDialog(parent), matrix_(matrix), midi_(midi), pump_(std::move(pump)) {
    if (!pump_)
        pump_ = [] { QCoreApplication::processEvents(); };
    setObjectName(QStringLiteral("frmBankSend"));
    setWindowTitle(QStringLiteral("Midi Bank Send"));
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
    cmdMidiSend = new QPushButton(kSendCaption, this);
    cmdMidiSend->setObjectName(QStringLiteral("cmdMidiSend"));
    cmdMidiSend->setAutoDefault(false);
    PlaceTwips(*cmdMidiSend, 240, 2700, 2700, 555);
    connect(cmdMidiSend, &QPushButton::clicked, this, &frmBankSend::cmdMidiSend_Click);
}

void frmBankSend::cmdMidiSend_Click() {
    if (running_)
        return;
    running_ = true;
    stop_ = false;
    cmdMidiSend->setEnabled(false);
    for (int b = 1; b <= kBanks && !stop_; ++b) {
        if (!chkBank[static_cast<std::size_t>(b)]->isChecked())
            continue;
        for (int p = 1; p <= kSlots && !stop_; ++p) {
            if (matrix_.isEmpty(b, p))
                continue;
            cmdMidiSend->setText(QStringLiteral("Sending ") +
                                 QString::fromStdString(MatrixPlace(b, p)) +
                                 QStringLiteral(" ..."));
            // A port that does not open now will not open for the next patch either.
            if (!midi_.SendSysex(matrix_.at(b, p)))
                stop_ = true;
            pump_();
        }
    }
    cmdMidiSend->setEnabled(true);
    cmdMidiSend->setText(kSendCaption);
    running_ = false;
    if (closeAfterRun_)
        close();
}

void frmBankSend::stopAndClose() {
    // The run's loop is still on the stack: the window goes once the loop has ended.
    stop_ = true;
    closeAfterRun_ = true;
    hide();
}

void frmBankSend::reject() {
    if (running_)
        stopAndClose();
    else
        QDialog::reject();
}

void frmBankSend::closeEvent(QCloseEvent* event) {
    if (running_) {
        stopAndClose();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace zanq
