#pragma once
// The seam in front of every message box. Production code asks through a Prompter; tests hand
// in a scripted one that records the question and answers it without a dialog.
// Texts break lines with a single CR (0x0D) as the program composes them; the message-box
// implementation turns CR into a line break for display.

#include <QMessageBox>
#include <QString>

namespace zanq {

inline const QString kAppTitle = QStringLiteral("Zanq");
inline constexpr QChar kCR = QChar(0x0D);

class Prompter {
public:
    virtual ~Prompter() = default;
    // A question with Yes and No; true only when the answer is Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, const QString& title,
                          QMessageBox::Icon icon) = 0;
    // The same question with No as the button that Enter presses, for a Yes that destroys what
    // cannot be had back. A prompter that shows no box may take it as any question.
    virtual bool askYesNoDefaultNo(QWidget* parent, const QString& text, const QString& title,
                                   QMessageBox::Icon icon) {
        return askYesNo(parent, text, title, icon);
    }
    // A message with a single OK button.
    virtual void tell(QWidget* parent, const QString& text, const QString& title,
                      QMessageBox::Icon icon) = 0;
};

class MessageBoxPrompter : public Prompter {
public:
    bool askYesNo(QWidget* parent, const QString& text, const QString& title,
                  QMessageBox::Icon icon) override;
    bool askYesNoDefaultNo(QWidget* parent, const QString& text, const QString& title,
                           QMessageBox::Icon icon) override;
    void tell(QWidget* parent, const QString& text, const QString& title,
              QMessageBox::Icon icon) override;
};

// CR, CR LF and LF all become one line break.
QString ToDisplayText(const QString& text);

}  // namespace zanq
