#include "cli/RunProgress.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "cli/Cli.h"
#include "midi/BankRuns.h"

namespace zanq::cli {

RunProgress::RunProgress(BankRun& run, const QString& verb, int total) : shown_(ErrorIsTerminal()) {
    if (!shown_)
        return;
    auto done = std::make_shared<int>(0);
    QObject::connect(&run, &BankRun::slotStarted, &run, [verb, total, done](Slot slot) {
        const QByteArray line = QStringLiteral("\r%1 %2  (%3 of %4) ")
                                    .arg(verb, QString::fromStdString(slot.text()))
                                    .arg(++*done)
                                    .arg(total)
                                    .toLocal8Bit();
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
    });
}

RunProgress::~RunProgress() {
    // The report follows on a clean line.
    if (shown_)
        std::fputs("\r\x1b[K", stderr);
}

bool AwaitRun(BankRun& run, const std::function<bool()>& start, int stallMs) {
    QEventLoop loop;
    bool finished = false;
    QTimer stall;
    stall.setSingleShot(true);
    stall.setInterval(stallMs);
    QObject::connect(&stall, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&run, &BankRun::slotStarted, &stall, qOverload<>(&QTimer::start));
    QObject::connect(&run, &BankRun::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    stall.start();
    if (!start()) {
        Complain(QStringLiteral("the MIDI link is busy; nothing was started"));
        return false;
    }
    if (!finished)
        loop.exec();
    if (!finished)
        Complain(QStringLiteral("the MIDI system stopped answering; the run was given up"));
    return finished;
}

QString SlotRanges(std::vector<Slot> places) {
    std::sort(places.begin(), places.end());
    QStringList ranges;
    for (std::size_t i = 0; i < places.size();) {
        std::size_t j = i;
        while (j + 1 < places.size() && places[j + 1].index() == places[j].index() + 1)
            ++j;
        QString range = QString::fromStdString(places[i].text());
        if (j > i)
            range += QStringLiteral("..") + QString::fromStdString(places[j].text());
        ranges << range;
        i = j + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

}  // namespace zanq::cli
