#pragma once
// A Prompter for tests: answers questions from a queue (No when the queue is empty) and keeps
// every question and message it was shown.

#include <QList>
#include <QQueue>

#include "shell/Prompter.h"

namespace zanq::test {

struct ShownPrompt {
    QString text;
    QString title;
    QMessageBox::Icon icon;
    bool question;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class ScriptedPrompter : public Prompter {
public:
    QQueue<bool> answers;
    QList<ShownPrompt> shown;

    bool askYesNo(QWidget*, const QString& text, const QString& title, QMessageBox::Icon icon,
                  QMessageBox::StandardButton defaultButton = QMessageBox::Yes) override {
        shown.append({text, title, icon, true, defaultButton});
        return answers.isEmpty() ? false : answers.dequeue();
    }
    void tell(QWidget*, const QString& text, const QString& title,
              QMessageBox::Icon icon) override {
        shown.append({text, title, icon, false});
    }
};

}  // namespace zanq::test
