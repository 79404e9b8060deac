#pragma once
// What the transfer benchmark needs beside the program: a prompter that counts messages, records
// and requests, the simulator with its output lines counted, and ways to wait on the event loop
// for a signal or for a run window's button to come back.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/PatchRecord.h"
#include "shell/Prompter.h"
#include "support/BenchSupport.h"

namespace bench {

inline const std::string kClient = "DeepMind12 bench";

class CountingPrompter : public zanq::Prompter {
public:
    int messages = 0;
    bool askYesNo(QWidget*, const QString&, const QString&, QMessageBox::Icon) override {
        return false;
    }
    void tell(QWidget*, const QString& text, const QString&, QMessageBox::Icon) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

inline std::string Request(int bank, int program) {
    std::string r("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
    r[7] = static_cast<char>(bank);
    r[8] = static_cast<char>(program);
    return r;
}

inline zanq::PatchRecord Record(int bank, int program) {
    zanq::PatchRecord r(291, '\x11');
    const char head[] = "\xF0\x00\x20\x32\x20\x00\x02\x07";
    std::copy(head, head + 8, r.begin());
    r[8] = static_cast<char>(bank);
    r[9] = static_cast<char>(program);
    r[290] = static_cast<char>(0xF7);
    return r;
}

// The simulator, with its output lines counted.
class Sim {
public:
    bool start(int latencyMs) {
        process_.start(QStringLiteral(ZANQ_DEEPMIND_SIM),
                       {QStringLiteral("--client"), QString::fromStdString(kClient),
                        QStringLiteral("--latency"), QString::number(latencyMs)});
        return waitFor([&] { return lines_.contains("ready"); }, 5000);
    }
    void stop() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    qsizetype count(const QByteArray& start) {
        collect();
        return std::count_if(lines_.begin(), lines_.end(),
                             [&](const QByteArray& l) { return l.startsWith(start); });
    }
    template <typename Done>
    bool waitFor(Done done, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > ms)
                return false;
            process_.waitForReadyRead(1);
            collect();
        }
        return true;
    }

private:
    void collect() {
        while (process_.canReadLine())
            lines_ << process_.readLine().trimmed();
    }
    QProcess process_;
    QList<QByteArray> lines_;
};

// Runs the event loop until the signal comes.
template <typename Sender, typename Signal>
void Await(Sender* sender, Signal signal) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&loop] { loop.quit(); });
    loop.exec();
}

// Clicks the button and runs the event loop until the run has ended and enabled it again.
inline double RunFromButton(QPushButton* button) {
    QEventLoop loop;
    struct Watch : QObject {
        QEventLoop* loop;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::EnabledChange && static_cast<QWidget*>(o)->isEnabled())
                loop->quit();
            return false;
        }
    } watch;
    watch.loop = &loop;
    button->installEventFilter(&watch);
    QElapsedTimer clock;
    clock.start();
    button->click();
    loop.exec();
    button->removeEventFilter(&watch);
    return clock.nsecsElapsed() / 1e6;
}

using zanq::bench::Median;

}  // namespace bench
