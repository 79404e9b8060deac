#include "cli/RunWatch.h"

#include <QEventLoop>
#include <cstdio>

#include "cli/Cli.h"
#include "midi/BankRuns.h"

namespace zanq::cli {

RunWatch::RunWatch(BankRun& run, const QString& verb, int total)
    : run_(run), total_(total), terminal_(ErrorIsTerminal()) {
    stall_.setSingleShot(true);
    QObject::connect(&run, &BankRun::slotStarted, &stall_,
                     [this, verb](Slot slot) { reached(verb, slot); });
}

RunWatch::~RunWatch() {
    // The report follows on a clean line.
    if (shown_)
        std::fputs("\r\x1b[K", stderr);
}

void RunWatch::reached(const QString& verb, Slot slot) {
    stall_.start();
    if (!terminal_)
        return;
    shown_ = true;
    const QByteArray line = QStringLiteral("\r\x1b[K%1 %2  (%3 of %4)")
                                .arg(verb, QString::fromStdString(slot.text()))
                                .arg(++counts_[verb])
                                .arg(total_)
                                .toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

bool RunWatch::await(const std::function<bool()>& start, int stallMs) {
    QEventLoop loop;
    bool finished = false;
    const auto ended = QObject::connect(&run_, &BankRun::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    const auto stalled = QObject::connect(&stall_, &QTimer::timeout, &loop, &QEventLoop::quit);
    stall_.setInterval(stallMs);
    stall_.start();
    const bool started = start();
    if (started && !finished)
        loop.exec();
    QObject::disconnect(ended);
    QObject::disconnect(stalled);
    stall_.stop();
    if (!started)
        Complain(QStringLiteral("the MIDI link is busy; nothing was started"));
    else if (!finished)
        Complain(QStringLiteral("the MIDI system stopped answering; the run was given up"));
    return finished;
}

void RunWatch::printReport() {
    if (shown_)
        std::fputs("\r\x1b[K", stderr);
    shown_ = false;
    Print(run_.report().summary());
    for (const QString& line : run_.report().details())
        Print(line);
}

}  // namespace zanq::cli
