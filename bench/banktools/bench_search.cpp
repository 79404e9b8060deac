// One Search run over 30,000 library patches and a full Matrix: the core scan alone, and the
// window's whole run (scan, list fill, label) as a keystroke triggers it, then the list's
// layout on the next event loop turn. Prints milliseconds per run (median and worst).

#include <QApplication>
#include <QCheckBox>
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
#include "shell/AppContext.h"
#include "shell/frmMain.h"

using namespace zanq;

namespace {
PatchRecord Record(const std::string& name, int bank, int program, unsigned seed) {
    PatchRecord r(kRecordLength, '\0');
    r[0] = static_cast<char>(0xF0);
    r[8] = static_cast<char>(bank);
    r[9] = static_cast<char>(program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 31 + seed) & 0x7F);
    for (std::size_t i = 0; i < 17 && i < name.size(); ++i)
        r[265 + i] = name[i];
    r[290] = static_cast<char>(kSysexEnd);
    return r;
}

std::string Name(std::mt19937& rng, int serial) {
    static const char* words[] = {"Warm", "Pad",  "Bass", "Lead", "Brass", "Str", "Sweep", "Pluck",
                                  "Keys", "Poly", "Arp",  "Fx",   "Choir", "Sub", "Bell",  "Organ"};
    std::uniform_int_distribution<int> pick(0, 15);
    std::string name = std::string(words[pick(rng)]) + " " + words[pick(rng)];
    name += " " + std::to_string(serial);
    return name.substr(0, 17);
}

struct Figures {
    double median;
    double worst;
};

Figures Time(
    int runs, const std::function<void()>& run, const std::function<void()>& prepare = [] {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}
}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    PatchStores stores;
    MessageBoxPrompter prompter;
    AppContext context{stores, prompter, QDir::tempPath()};
    frmMain window(context);

    std::mt19937 rng(7);
    int serial = 0;
    while (stores.library.patchCount() < 30000)
        stores.library.AddIfNew(Record(Name(rng, serial++), 0, 0, serial));
    for (int bank = 1; bank <= kBanks; ++bank)
        for (int slot = 1; slot <= kSlots; ++slot)
            stores.matrix.set(bank, slot, Record(Name(rng, serial++), bank - 1, slot - 1, serial));

    frmSearch search(window, stores);
    search.show();
    QApplication::processEvents();

    std::printf("library %zu patches, matrix %d patches\n", stores.library.patchCount(),
                stores.matrix.CountMatrixPatches());
    std::printf("%-10s %8s %18s %18s %22s\n", "text", "hits", "scan ms (med/max)",
                "run ms (med/max)", "run+layout ms (med/max)");
    const int runs = 40;
    for (const char* text : {"", "a", "pad", "PAD 1", "qqq"}) {
        const QString t = QString::fromLatin1(text);
        qsizetype hits = 0;
        const Figures scan = Time(runs, [&] {
            hits = SearchPatches(stores.library, stores.matrix, t, true, true).size();
        });
        // The window's run as a keystroke triggers it; the text is first moved away (and the
        // list laid out) outside the clock so every timed run really changes the text.
        const auto away = [&] {
            search.txtSearch->setText(t + QStringLiteral("#"));
            QApplication::processEvents();
        };
        const Figures run = Time(
            runs, [&] { search.txtSearch->setText(t); }, away);
        const Figures laidOut = Time(
            runs,
            [&] {
                search.txtSearch->setText(t);
                QApplication::processEvents();
            },
            away);
        std::printf("%-10s %8lld %8.2f /%7.2f %8.2f /%7.2f %10.2f /%9.2f\n",
                    t.isEmpty() ? "(empty)" : text, static_cast<long long>(hits), scan.median,
                    scan.worst, run.median, run.worst, laidOut.median, laidOut.worst);
    }
    return 0;
}
