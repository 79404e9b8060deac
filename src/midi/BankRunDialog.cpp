#include "midi/BankRunDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

#include "banktools/DialogDesign.h"

namespace zanq {

BankRunDialog::BankRunDialog(QWidget* parent, const char* objectName, const QString& caption)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 3180, 3480);
    for (int b = 1; b <= Bank::kCount; ++b) {
        auto* box =
            new QCheckBox(QStringLiteral("Bank ") + QChar(Bank::fromNumber(b).letter()), this);
        box->setObjectName(QStringLiteral("chkBank%1").arg(b));
        PlaceTwips(*box, 1020, 180 + 300 * (b - 1), 1200, 285);
        chkBank[static_cast<std::size_t>(b)] = box;
    }
}

QPushButton* BankRunDialog::addStartButton(const char* objectName, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    PlaceTwips(*button, 240, 2700, 2700, 555);
    return button;
}

std::vector<Bank> BankRunDialog::tickedBanks() const {
    std::vector<Bank> banks;
    for (int b = 1; b <= Bank::kCount; ++b)
        if (chkBank[static_cast<std::size_t>(b)]->isChecked())
            banks.push_back(Bank::fromNumber(b));
    return banks;
}

bool BankRunDialog::beginRun() {
    if (running_)
        return false;
    running_ = true;
    stop_ = false;
    return true;
}

void BankRunDialog::endRun() {
    running_ = false;
    if (closeAfterRun_)
        close();
}

void BankRunDialog::stopAndClose() {
    // The run still reports to this window: it goes once the run has ended.
    stop_ = true;
    closeAfterRun_ = true;
    hide();
    stopRun();
}

void BankRunDialog::reject() {
    if (running_)
        stopAndClose();
    else
        QDialog::reject();
}

void BankRunDialog::closeEvent(QCloseEvent* event) {
    if (running_) {
        stopAndClose();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace zanq
