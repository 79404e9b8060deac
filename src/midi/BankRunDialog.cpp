#include "midi/BankRunDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>

#include "banktools/DialogDesign.h"
#include "model/PatchRecord.h"

namespace zanq {

BankRunDialog::BankRunDialog(QWidget* parent, const char* objectName, const QString& caption)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
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
}

QPushButton* BankRunDialog::addStartButton(const char* objectName, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    PlaceTwips(*button, 240, 2700, 2700, 555);
    return button;
}

bool BankRunDialog::isTicked(int bank) const {
    return chkBank[static_cast<std::size_t>(bank)]->isChecked();
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
    // The run's loop is still on the stack: the window goes once the loop has ended.
    stop_ = true;
    closeAfterRun_ = true;
    hide();
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
