#include "midi/BankRunDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "banktools/DialogDesign.h"

namespace zanq {

BankRunDialog::BankRunDialog(QWidget* parent, const char* objectName, const QString& caption)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    SetDesignClientSize(*this, 4800, 5760);
    for (int b = 1; b <= Bank::kCount; ++b) {
        auto* box =
            new QCheckBox(QStringLiteral("Bank ") + QChar(Bank::fromNumber(b).letter()), this);
        box->setObjectName(QStringLiteral("chkBank%1").arg(b));
        PlaceTwips(*box, 1020, 180 + 300 * (b - 1), 1200, 285);
        chkBank[static_cast<std::size_t>(b)] = box;
    }
    lblRunSummary = new QLabel(this);
    lblRunSummary->setObjectName(QStringLiteral("lblRunSummary"));
    lblRunSummary->setWordWrap(true);
    lblRunSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PlaceTwips(*lblRunSummary, 240, 3360, 4320, 600);
    txtRunReport = new QPlainTextEdit(this);
    txtRunReport->setObjectName(QStringLiteral("txtRunReport"));
    txtRunReport->setReadOnly(true);
    txtRunReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    PlaceTwips(*txtRunReport, 240, 4020, 4320, 1500);
}

QCheckBox* BankRunDialog::addOption(const char* objectName, const QString& text) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(objectName));
    PlaceTwips(*box, 2700, 180 + 300 * options_++, 1800, 285);
    return box;
}

QPushButton* BankRunDialog::addStartButton(const char* objectName, const QString& text) {
    start_ = new QPushButton(text, this);
    start_->setObjectName(QString::fromLatin1(objectName));
    start_->setAutoDefault(false);
    PlaceTwips(*start_, 1020, 2700, 2700, 555);
    return start_;
}

std::vector<Bank> BankRunDialog::tickedBanks() const {
    std::vector<Bank> banks;
    for (int b = 1; b <= Bank::kCount; ++b)
        if (chkBank[static_cast<std::size_t>(b)]->isChecked())
            banks.push_back(Bank::fromNumber(b));
    return banks;
}

void BankRunDialog::showRun(BankRun* run, std::function<QString(Slot)> progress,
                            std::function<void(RunEnd)> ended) {
    run_ = run;
    stop_ = false;
    run->setParent(this);
    const QString caption = start_->text();
    start_->setEnabled(false);
    lblRunSummary->clear();
    txtRunReport->clear();
    connect(run, &BankRun::slotStarted, this,
            [this, progress = std::move(progress)](Slot slot) { start_->setText(progress(slot)); });
    connect(run, &BankRun::finished, this, [this, caption, ended = std::move(ended)](RunEnd end) {
        run_->deleteLater();
        lblRunSummary->setText(run_->report().summary());
        txtRunReport->setPlainText(run_->report().details().join(QLatin1Char('\n')));
        if (ended)
            ended(end);
        start_->setEnabled(true);
        start_->setText(caption);
        run_ = nullptr;
        // A window closed during the run goes now.
        if (stop_)
            close();
    });
}

void BankRunDialog::progressText(const QString& text) {
    start_->setText(text);
}

void BankRunDialog::stopAndClose() {
    // The run still reports to this window: it goes once the run has ended.
    stop_ = true;
    hide();
    run_->stop();
}

void BankRunDialog::reject() {
    if (running())
        stopAndClose();
    else
        QDialog::reject();
}

void BankRunDialog::closeEvent(QCloseEvent* event) {
    if (running()) {
        stopAndClose();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace zanq
