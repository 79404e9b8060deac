#pragma once
// Measuring tools for bench_sysexfiles: CPU time of this thread, resident memory and its peak,
// the longest time the event loop stood still, and big input files.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

namespace zanq::bench {

// CPU time of this thread: the machine is shared, so wall-clock time drifts with its load.
inline double ThreadMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A line of /proc/self/status in KiB: VmRSS (resident now) or VmHWM (peak resident).
inline long StatusKiB(const QByteArray& key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts a new peak: from now on VmHWM counts from the present resident size.
inline void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    double worstStallMs = 0;     // longest time between two turns of the event loop
    double worstStallCpuMs = 0;  // the most CPU time this thread spent between two turns
    double peakGrowthMiB = 0;
};

// Runs begin() from the event loop and keeps the loop going until busy() turns false, with a
// 1 ms timer that notes the longest gap between its ticks: the longest time the window could
// not answer. An operation that lets events run inside itself is measured the same way.
inline Figures Measure(const std::function<void()>& begin, const std::function<bool()>& busy) {
    Figures figures;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QElapsedTimer gap;
    qint64 worst = 0;
    double cpuAtTick = 0;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        worst = std::max(worst, gap.nsecsElapsed());
        gap.restart();
        const double cpuNow = ThreadMillis();
        figures.worstStallCpuMs = std::max(figures.worstStallCpuMs, cpuNow - cpuAtTick);
        cpuAtTick = cpuNow;
        if (!busy())
            loop.quit();
    });
    const long before = StatusKiB("VmRSS:");
    ResetPeak();
    QElapsedTimer wall;
    const double cpu = ThreadMillis();
    QTimer::singleShot(0, &loop, [&] {
        gap.start();
        cpuAtTick = ThreadMillis();
        wall.start();
        tick.start();
        begin();
    });
    loop.exec();
    figures.wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    figures.cpuMs = ThreadMillis() - cpu;
    figures.worstStallMs = static_cast<double>(worst) / 1e6;
    figures.peakGrowthMiB = static_cast<double>(StatusKiB("VmHWM:") - before) / 1024.0;
    return figures;
}

// mib MiB of random bytes (a fixed seed, so every run reads the same file).
inline void WriteRandomFile(const QString& path, int mib) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    std::string block(1 << 20, '\0');
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int m = 0; m < mib; ++m) {
        for (std::size_t i = 0; i < block.size(); i += 8) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            std::memcpy(&block[i], &state, 8);
        }
        file.write(block.data(), static_cast<qint64>(block.size()));
    }
}

}  // namespace zanq::bench
