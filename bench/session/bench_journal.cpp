// What keeping the session costs: a drag, a whole bank receive (8 x 128 programs stored as one
// step), "Load all" over 300 files of 100 patches (30,000 library patches) and its undo, each
// timed in the same run on an offscreen main window with the undo history, once without the
// session journal and once with it. For each: the window thread's CPU time for the command
// (what the user waits for) and, with the journal, the wall time until the journal has
// committed it.
// Figures are medians over 5 rounds that alternate between the two.
//   bench_journal [drag repeats]     (default 500)

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "model/DeepMindDialect.h"
#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "session/SessionJournal.h"
#include "session/SessionKeeper.h"
#include "shell/Prompter.h"
#include "shell/frmMain.h"
#include "support/BenchSupport.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "undo/InstallUndo.h"
#include "undo/UndoHistory.h"

using namespace zanq;

namespace {

class SilentPrompter : public Prompter {
public:
    bool askYesNo(QWidget*, const QString&, const QString&, QMessageBox::Icon) override {
        return false;
    }
    void tell(QWidget*, const QString& text, const QString&, QMessageBox::Icon) override {
        std::fprintf(stderr, "told: %s\n", qPrintable(text));
    }
};

// The program's stores, window, undo history and, when asked, its session journal.
struct Session {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    SilentPrompter prompter;
    AppContext context;
    frmMain window;
    UndoHistory* history = nullptr;
    SessionKeeper* keeper = nullptr;

    Session(const QString& folder, const QString& journal)
        : context{librarian, prompter, folder}, window(context) {
        InstallSysexFiles(window, context);
        history = &InstallUndo(window, context);
        if (!journal.isEmpty())
            keeper = &KeepSession(window, context, journal);
    }
    void waitForJournal() {
        if (keeper)
            keeper->journal().waitForWrites();
    }
};

struct Figures {
    double cpu = 0;        // window thread, ms
    double committed = 0;  // wall until the journal has it, ms
};

// Runs command, returns the window thread's CPU time and the wall time to the commit.
Figures Time(Session& program, const std::function<void()>& command) {
    QElapsedTimer wall;
    wall.start();
    const double start = bench::ThreadMillis();
    command();
    Figures f;
    f.cpu = bench::ThreadMillis() - start;
    program.waitForJournal();
    f.committed = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    return f;
}

Figures Drag(Session& program, int repeats) {
    for (int p = 0; p < Program::kCount; ++p)
        program.librarian.apply(bench::Record("Drag " + std::to_string(p), 0, p, p),
                                LoadTarget::Matrix);
    program.waitForJournal();
    std::vector<double> cpu, committed;
    for (int i = 0; i < repeats; ++i) {
        const Slot from{Bank::fromByte(0), Program::fromByte(i % 128)};
        const Slot to{Bank::fromByte(0), Program::fromByte((i * 37 + 5) % 128)};
        const Figures f = Time(program, [&] { program.librarian.moveOrSwap(from, to); });
        cpu.push_back(f.cpu);
        committed.push_back(f.committed);
    }
    return {bench::Median(cpu), bench::Median(committed)};
}

Figures BankReceive(Session& program) {
    std::vector<PatchRecord> replies;
    for (int b = 0; b < Bank::kCount; ++b)
        for (int p = 0; p < Program::kCount; ++p)
            replies.push_back(bench::Record("Received", b, p, b * 128 + p));
    return Time(program, [&] {
        std::set<Bank> banks;
        for (int b = 0; b < Bank::kCount; ++b)
            banks.insert(Bank::fromByte(b));
        StepScope step(program.librarian, labels::ReceiveBanks(banks));
        for (const PatchRecord& reply : replies)
            program.librarian.storeReceived(reply);
    });
}

Figures LoadAll(Session& program) {
    auto* files = program.window.findChild<SysexFileCommands*>();
    files->RefreshFileList();
    // The files are read a slice at a time on the event loop: the command ends with the load.
    return Time(program, [&] {
        QEventLoop loop;
        QObject::connect(files, &SysexFileCommands::loadFinished, &loop, &QEventLoop::quit);
        files->cmdLoadAll_clicked();
        if (files->isLoading())
            loop.exec();
    });
}

Figures MedianOfRounds(const std::vector<Figures>& rounds) {
    std::vector<double> cpu, committed;
    for (const Figures& f : rounds) {
        cpu.push_back(f.cpu);
        committed.push_back(f.committed);
    }
    return {bench::Median(cpu), bench::Median(committed)};
}

void Print(const char* what, const std::vector<Figures>& withoutRounds,
           const std::vector<Figures>& withRounds) {
    const Figures without = MedianOfRounds(withoutRounds), with = MedianOfRounds(withRounds);
    std::printf("%-42s %10.3f ms %10.3f ms %+7.1f%% %12.3f ms\n", what, without.cpu, with.cpu,
                100.0 * (with.cpu - without.cpu) / without.cpu, with.committed);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    QTemporaryDir scratch;
    const QString folder = scratch.filePath("patches");
    QDir().mkpath(folder);
    for (int f = 0; f < 300; ++f) {
        std::string bytes;
        for (int i = 0; i < 100; ++i) {
            const QString name = QStringLiteral("F%1 P%2").arg(f).arg(i);
            bytes += bench::Record(name.toStdString(), i % 8, i, f * 100 + i);
        }
        bench::WriteFile(
            QDir(folder).filePath(QStringLiteral("file %1.syx").arg(f, 3, 10, QChar('0'))), bytes);
    }

    std::printf("%-42s %13s %13s %8s %15s\n", "command (window thread CPU)", "no journal",
                "journal", "cost", "committed after");
    // Rounds alternate between the two so that neither gets the warmer caches; each figure is
    // the median of its rounds.
    constexpr int kRounds = 5;
    std::vector<Figures> drag[2], receive[2], loadAll[2], undoLoadAll[2];
    for (int round = 0; round < kRounds; ++round) {
        for (int journal = 0; journal < 2; ++journal) {
            const QString path =
                journal ? scratch.filePath(QStringLiteral("data%1/session.sqlite").arg(round))
                        : QString();
            {
                Session dragged(folder, path);
                drag[journal].push_back(Drag(dragged, repeats));
            }
            {
                Session received(folder, path);
                receive[journal].push_back(BankReceive(received));
            }
            Session loaded(folder, path);
            loadAll[journal].push_back(LoadAll(loaded));
            undoLoadAll[journal].push_back(Time(loaded, [&] { loaded.history->undo(); }));
        }
    }
    Print(("drag, a swap (median of " + std::to_string(repeats) + ")").c_str(), drag[0], drag[1]);
    Print("bank receive, 8 x 128 programs, one step", receive[0], receive[1]);
    Print("Load all, 300 files x 100 = 30,000 patches", loadAll[0], loadAll[1]);
    Print("undo of that Load all", undoLoadAll[0], undoLoadAll[1]);
    return 0;
}
