#pragma once
// What every benchmark measures with: CPU time of this thread, resident memory and its peak,
// medians, the longest time the event loop stood still, and made-up patches to measure on.

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
#include <vector>

#include "model/PatchRecord.h"

namespace zanq::bench {

// CPU time of this thread: the machine is shared, so wall-clock time drifts with its load.
inline double ThreadMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A line of /proc/self/status in KiB: VmRSS (resident now), VmHWM (peak resident) or RssShmem
// (shared memory, such as a JACK client's view of the server's graph).
inline long StatusKiB(const QByteArray& key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    return -1;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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

// A 291-byte program dump with this name, bank and program; seed varies its sound data.
inline PatchRecord Record(const std::string& name, int bank, int program, int seed) {
    PatchRecord r(kRecordLength, '\0');
    const unsigned char header[8] = {0xF0, 0x00, 0x20, 0x32, 0x20, 0x00, 0x02, 0x07};
    std::copy(header, header + 8, r.begin());
    r[8] = static_cast<char>(bank);
    r[9] = static_cast<char>(program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 7 + static_cast<std::size_t>(seed)) & 0x7F);
    std::copy(name.begin(),
              name.begin() + static_cast<long>(std::min<std::size_t>(name.size(), 17)),
              r.begin() + 265);
    r[290] = static_cast<char>(kSysexEnd);
    return r;
}

inline void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace zanq::bench
