// bench_startup: time from starting the process to the first paint of the main window, and the
// resident memory then, for the librarian as main() builds it (LibrarianApp: stores, MIDI
// ports, detection, update check, file browser) against a bare Qt main window. Each run is a
// fresh process (this program started again with --child); figures are medians over the runs.
// The librarian and the bare window take turns, and their ratio is the median of the per-run
// ratios. Runs on the X server named by DISPLAY, else offscreen. The update check points at a
// closed local port and the program folder at a scratch folder, so neither network nor disk state
// plays a part.
//   bench_startup [runs]     (default 15)
//   bench_startup --child --shot first.png   one start of the librarian, its first paint saved
//                                            as the screen showed it (to check that a change to
//                                            the start-up leaves every pixel as it was)

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "shell/FontConfigPreload.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/frmMain.h"
#include "support/BenchSupport.h"

namespace {

long long NowMicros() {
    // steady_clock is CLOCK_MONOTONIC: the same clock in parent and child.
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Prints the time and memory at the window's first paint, then ends the child.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QString shot) : shot_(std::move(shot)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            auto* window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, [this, window] {  // once the paint is done
                if (!shot_.isEmpty())
                    window->screen()->grabWindow(window->winId()).save(shot_);
                std::printf("%lld %ld %ld\n", NowMicros(), zanq::bench::StatusKiB("VmRSS:"),
                            zanq::bench::StatusKiB("RssShmem:"));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QString shot_;
    bool seen_ = false;
};

int Child(int argc, char* argv[], bool bare) {
    std::optional<zanq::FontConfigPreload> fontConfig;  // as main() starts the librarian
    if (!bare)
        fontConfig.emplace();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype shotAt = args.indexOf(QStringLiteral("--shot"));
    FirstPaint watch(shotAt > 0 && shotAt + 1 < args.size() ? args[shotAt + 1] : QString());
    if (bare) {
        QMainWindow window;
        window.resize(1000, 700);
        window.installEventFilter(&watch);
        window.show();
        return app.exec();
    }
    zanq::LibrarianApp::SetUpApplication(app);
    fontConfig->wait();
    zanq::LibrarianApp librarian(zanq::DefaultProgramFolder(), "ZANQ Bench");
    librarian.window().installEventFilter(&watch);
    librarian.window().show();
    return app.exec();
}

struct Run {
    double ms;
    long kib;
    long sharedKib;
};

// One fresh process to its first paint. A child whose exit hangs after it has printed its
// figures (a JACK client closing as it opens can stall) is ended here and counted in hung.
bool Measure(const QString& self, bool bare, Run& run, int& hung) {
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    const long long start = NowMicros();
    child.start(self, {bare ? QStringLiteral("--bare") : QStringLiteral("--child")});
    while (!child.canReadLine())
        if (!child.waitForReadyRead(30000))
            return false;
    const QList<QByteArray> fields = child.readLine().trimmed().split(' ');
    if (!child.waitForFinished(10000)) {
        ++hung;
        child.kill();
        child.waitForFinished();
    } else if (child.exitCode() != 0) {
        return false;
    }
    if (fields.size() != 3)
        return false;
    run.ms = static_cast<double>(fields[0].toLongLong() - start) / 1000.0;
    run.kib = fields[1].toLong();
    run.sharedKib = fields[2].toLong();
    return true;
}

void Report(const char* what, const std::vector<Run>& runs) {
    std::vector<double> ms;
    std::vector<long> kib, shared;
    for (const Run& r : runs) {
        ms.push_back(r.ms);
        kib.push_back(r.kib);
        shared.push_back(r.sharedKib);
    }
    std::printf(
        "%-32s %7.1f ms (min %.1f, max %.1f)  RSS %6.1f MiB, of it shared memory %5.1f MiB\n", what,
        zanq::bench::Median(ms), *std::min_element(ms.begin(), ms.end()),
        *std::max_element(ms.begin(), ms.end()),
        static_cast<double>(zanq::bench::Median(kib)) / 1024.0,
        static_cast<double>(zanq::bench::Median(shared)) / 1024.0);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && (qstrcmp(argv[1], "--child") == 0 || qstrcmp(argv[1], "--bare") == 0))
        return Child(argc, argv, qstrcmp(argv[1], "--bare") == 0);

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QTemporaryDir folder;
    qputenv("ZANQ_PROGRAM_FOLDER", folder.path().toLocal8Bit());
    qputenv("ZANQ_UPDATE_URL", "http://127.0.0.1:1/version.txt");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::printf("bench_startup: %d fresh processes each, platform %s\n", runs,
                qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb (DISPLAY)");

    // The two kinds of run take turns, in turn first, so that the machine's load weighs on both
    // alike; the ratio is the median of the runs' own ratios.
    std::vector<Run> librarian, bare;
    std::vector<double> ratios;
    int hung = 0;
    for (int i = 0; i < runs; ++i) {
        for (bool isBare : {i % 2 == 1, i % 2 == 0}) {
            Run run{};
            if (!Measure(self, isBare, run, hung)) {
                std::fprintf(stderr, "a %s run failed\n", isBare ? "bare" : "librarian");
                return 1;
            }
            (isBare ? bare : librarian).push_back(run);
        }
        ratios.push_back(librarian.back().ms / bare.back().ms);
    }
    Report("librarian, start to first paint", librarian);
    Report("bare Qt main window", bare);
    std::printf("librarian / bare: %.2fx (median of the runs' ratios, %.2f to %.2f)\n",
                zanq::bench::Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    if (hung > 0)
        std::printf("%d run(s) printed their first paint but hung on exit and were ended\n", hung);
    return 0;
}
