#include "shell/Prompter.h"

namespace zanq {

QString ToDisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(kCR, QChar('\n'));
    return shown;
}

namespace {
bool AskYesNo(QWidget* parent, const QString& text, const QString& title, QMessageBox::Icon icon,
              QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, ToDisplayText(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
}  // namespace

bool MessageBoxPrompter::askYesNo(QWidget* parent, const QString& text, const QString& title,
                                  QMessageBox::Icon icon) {
    return AskYesNo(parent, text, title, icon, QMessageBox::Yes);
}

bool MessageBoxPrompter::askYesNoDefaultNo(QWidget* parent, const QString& text,
                                           const QString& title, QMessageBox::Icon icon) {
    return AskYesNo(parent, text, title, icon, QMessageBox::No);
}

void MessageBoxPrompter::tell(QWidget* parent, const QString& text, const QString& title,
                              QMessageBox::Icon icon) {
    QMessageBox box(icon, title, ToDisplayText(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace zanq
