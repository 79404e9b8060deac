#pragma once
// What the transfer benchmarks need beside the program: a prompter that counts messages, the
// simulator with its output lines counted and its ports found by name, and ways to wait on the
// event loop for a signal or for a run window's button to come back.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/Prompter.h"
#include "support/BenchSupport.h"

namespace zanq::bench {

inline const std::string kClient = "DeepMind12 bench";

class CountingPrompter : public Prompter {
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

// The first of names that holds client: the simulator's port among those listed.
inline std::string PortOf(const std::string& client, const std::vector<std::string>& names) {
    for (const auto& name : names)
        if (name.find(client) != std::string::npos)
            return name;
    return {};
}

// The simulator, with its output lines counted.
class Sim {
public:
    bool start(int latencyMs, const std::string& client = kClient) {
        process_.start(QStringLiteral(ZANQ_DEEPMIND_SIM),
                       {QStringLiteral("--client"), QString::fromStdString(client),
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

}  // namespace zanq::bench
