// One Search run over 30,000 library patches and a full Matrix: the core scan alone, the
// window's run as a keystroke triggers it (scan, list fill, label), and that run followed by
// the list's layout and paint on the next turn of the event loop. Prints milliseconds per run,
// median and worst of wall time, and the median of the thread's own CPU time (the machine may
// be shared, so wall time carries other programs' load).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "banktools/PatchSearch.h"
#include "banktools/frmSearch.h"
#include "model/DeepMindDialect.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"
#include "support/BenchSupport.h"

using namespace zanq;

namespace {
// Names of 12 to 17 characters, like the synth's own: two words and a serial number.
std::string Name(std::mt19937& rng, int serial) {
    static const char* words[] = {"Warm", "Pad",  "Bass", "Lead", "Brass", "Str", "Sweep", "Pluck",
                                  "Keys", "Poly", "Arp",  "Fx",   "Choir", "Sub", "Bell",  "Organ"};
    std::uniform_int_distribution<int> pick(0, 15);
    std::string name = std::string(words[pick(rng)]) + " " + words[pick(rng)];
    name += " " + std::to_string(serial);
    return name.substr(0, 17);
}

struct Figures {
    double wallMedian;
    double wallWorst;
    double cpuMedian;
};

Figures Time(int runs, const std::function<void()>& run, const std::function<void()>& prepare) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer t;
        const double cpuStart = bench::ThreadMillis();
        t.start();
        run();
        wall.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        cpu.push_back(bench::ThreadMillis() - cpuStart);
    }
    return {bench::Median(wall), *std::max_element(wall.begin(), wall.end()), bench::Median(cpu)};
}
}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    DeepMindDialect dialect;
    Librarian librarian{dialect};
    MessageBoxPrompter prompter;
    AppContext context{librarian, prompter, QDir::tempPath()};
    frmMain window(context);

    std::mt19937 rng(7);
    int serial = 0;
    while (librarian.library().patchCount() < 30000) {
        ++serial;
        librarian.apply(bench::Record(Name(rng, serial), 0, 0, serial), LoadTarget::Library);
    }
    for (int bank = 1; bank <= kBanks; ++bank) {
        for (int slot = 1; slot <= kSlots; ++slot) {
            ++serial;
            librarian.apply(bench::Record(Name(rng, serial), bank - 1, slot - 1, serial),
                            LoadTarget::Matrix);
        }
    }

    frmSearch search(window, librarian);
    search.show();
    QApplication::processEvents();

    std::printf(
        "library %zu patches, matrix %d patches; ms per run: wall median/worst, cpu median\n",
        librarian.library().patchCount(), librarian.matrix().CountMatrixPatches());
    std::printf("%-9s %6s %22s %22s %22s\n", "text", "hits", "scan", "keystroke run",
                "run + layout, paint");
    const int runs = 40;
    for (const char* text : {"", "a", "pad", "PAD 1", "qqq"}) {
        const QString t = QString::fromLatin1(text);
        std::vector<PatchHit> kept;
        const Figures scan = Time(
            runs, [&] { kept = FindPatches(librarian, t, true, true); }, [&] { kept.clear(); });
        // The text is first moved away (and the list laid out) outside the clock, so every
        // timed run is a real change of the text, as a keystroke makes it.
        const auto away = [&] {
            search.txtSearch->setText(t + QStringLiteral("#"));
            QApplication::processEvents();
        };
        const Figures run = Time(
            runs, [&] { search.txtSearch->setText(t); }, away);
        const Figures shown = Time(
            runs,
            [&] {
                search.txtSearch->setText(t);
                search.repaint();
                QApplication::processEvents();
            },
            away);
        if (static_cast<std::size_t>(search.lstResult->model()->rowCount()) != kept.size())
            return 1;
        std::printf("%-9s %6lld %7.2f /%6.2f /%6.2f %7.2f /%6.2f /%6.2f %7.2f /%6.2f /%6.2f\n",
                    t.isEmpty() ? "(empty)" : text, static_cast<long long>(kept.size()),
                    scan.wallMedian, scan.wallWorst, scan.cpuMedian, run.wallMedian, run.wallWorst,
                    run.cpuMedian, shown.wallMedian, shown.wallWorst, shown.cpuMedian);
    }
    return 0;
}
