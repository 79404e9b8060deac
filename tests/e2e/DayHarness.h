#pragma once
// What the whole-day test needs around the real program: its own X server, real message boxes
// answered as a user would, and modal windows found as they open.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>

namespace zanq::test {

// A private Xvfb; it picks a free display and names it on stdout (-displayfd 1), and ends by
// itself when the test's connection goes (-terminate), even after a crash.
class VirtualDisplay {
public:
    bool start() {
        xvfb_.start(QStringLiteral("Xvfb"),
                    QStringLiteral("-displayfd 1 -screen 0 1600x1000x24 -nolisten tcp -terminate")
                        .split(QLatin1Char(' ')));
        while (xvfb_.waitForStarted(5000) && !xvfb_.canReadLine() &&
               xvfb_.waitForReadyRead(10000)) {
        }
        const QByteArray number = xvfb_.readLine().trimmed();
        qputenv("DISPLAY", ":" + number);
        qputenv("QT_QPA_PLATFORM", "xcb");
        return !number.isEmpty();
    }
    ~VirtualDisplay() {
        xvfb_.terminate();
        xvfb_.waitForFinished(3000);
    }

private:
    QProcess xvfb_;
};

// Answers the program's message boxes from a queue, as the user would click them. A box that
// comes with no answer queued is closed with its escape button and counted as unexpected.
class MessageBoxAnswers : public QObject {
public:
    MessageBoxAnswers() { startTimer(20); }
    void answer(QMessageBox::StandardButton button) { queue_.push_back(button); }

    QStringList shown;       // every box's text, in order
    QStringList unexpected;  // boxes nobody expected

private:
    void timerEvent(QTimerEvent*) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown << box->text();
        QAbstractButton* button = queue_.empty() ? nullptr : box->button(queue_.front());
        if (queue_.empty())
            unexpected << box->text();
        else
            queue_.pop_front();
        if (!button)
            button = box->escapeButton();
        button ? button->click() : box->reject();
    }

    std::deque<QMessageBox::StandardButton> queue_;
};

// The window on top of the modal stack, if it is a T.
template <typename T>
T* ModalWindow() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Runs work on the T once it is the modal window: for windows that run their own loop (exec),
// where the click that opens them returns only after they close.
template <typename T>
void WhenModal(std::function<void(T*)> work) {
    QTimer::singleShot(20, [work] {
        if (T* window = ModalWindow<T>(); window && window->isVisible())
            work(window);
        else
            WhenModal<T>(work);
    });
}

}  // namespace zanq::test
