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
    bool defaultNo = false;  // asked with No as the default button
};

class ScriptedPrompter : public Prompter {
public:
    QQueue<bool> answers;
    QList<ShownPrompt> shown;

    bool askYesNo(QWidget*, const QString& text, const QString& title,
                  QMessageBox::Icon icon) override {
        shown.append({text, title, icon, true});
        return answers.isEmpty() ? false : answers.dequeue();
    }
    bool askYesNoDefaultNo(QWidget* parent, const QString& text, const QString& title,
                           QMessageBox::Icon icon) override {
        const bool yes = askYesNo(parent, text, title, icon);
        shown.last().defaultNo = true;
        return yes;
    }
    void tell(QWidget*, const QString& text, const QString& title,
              QMessageBox::Icon icon) override {
        shown.append({text, title, icon, false});
    }
};

}  // namespace zanq::test
