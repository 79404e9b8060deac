#pragma once
// What the whole-day test needs around the real program: its own X server, real message boxes
// answered as a user would, modal windows found as they open and .syx files on disk.

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/PatchRecord.h"

namespace zanq::test {

// A private Xvfb; it picks a free display and names it on stdout (-displayfd 1), and ends by
// itself when the test's connection goes (-terminate), even after a crash.
class VirtualDisplay {
public:
    bool start() {
        xvfb_.start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp"), QStringLiteral("-terminate")});
        if (!xvfb_.waitForStarted(5000))
            return false;
        while (!xvfb_.canReadLine() && xvfb_.waitForReadyRead(10000)) {
        }
        const QByteArray number = xvfb_.readLine().trimmed();
        if (number.isEmpty())
            return false;
        qputenv("DISPLAY", ":" + number);
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
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
    MessageBoxAnswers() {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswers::look);
        timer_.start();
    }
    void answer(QMessageBox::StandardButton button) { queue_.push_back(button); }
    bool allAnswered() const { return queue_.empty(); }

    QStringList shown;       // every box's text, in order
    QStringList unexpected;  // boxes nobody expected

private:
    void look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown << box->text();
        QAbstractButton* button = nullptr;
        if (!queue_.empty()) {
            button = box->button(queue_.front());
            queue_.pop_front();
        } else {
            unexpected << box->text();
        }
        if (!button)
            button = box->escapeButton();
        if (button)
            button->click();
        else
            box->reject();
    }

    QTimer timer_;
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
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, work] {
        if (T* window = ModalWindow<T>(); window && window->isVisible()) {
            poll->stop();
            poll->deleteLater();
            work(window);
        }
    });
    poll->start();
}

inline void WriteSyx(const QString& path, const std::vector<PatchRecord>& records) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const PatchRecord& r : records)
        file.write(r.data(), static_cast<qint64>(r.size()));
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace zanq::test
