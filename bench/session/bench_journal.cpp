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
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
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
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "undo/InstallUndo.h"
#include "undo/UndoHistory.h"

using namespace zanq;

namespace {

PatchRecord Record(const std::string& name, int bank, int program, int seed) {
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

double ThreadMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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
    SessionKeeper* keeper = nullptr;

    Session(const QString& folder, const QString& journal)
        : context{librarian, prompter, folder, {}, nullptr, {}, {}}, window(context) {
        InstallSysexFiles(window, context);
        InstallUndo(window, context);
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
    const double start = ThreadMillis();
    command();
    Figures f;
    f.cpu = ThreadMillis() - start;
    program.waitForJournal();
    f.committed = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    return f;
}

Figures Drag(Session& program, int repeats) {
    for (int p = 0; p < Program::kCount; ++p)
        program.librarian.apply(Record("Drag " + std::to_string(p), 0, p, p), LoadTarget::Matrix);
    program.waitForJournal();
    std::vector<double> cpu, committed;
    for (int i = 0; i < repeats; ++i) {
        const Slot from{Bank::fromByte(0), Program::fromByte(i % 128)};
        const Slot to{Bank::fromByte(0), Program::fromByte((i * 37 + 5) % 128)};
        const Figures f = Time(program, [&] { program.librarian.moveOrSwap(from, to); });
        cpu.push_back(f.cpu);
        committed.push_back(f.committed);
    }
    return {Median(cpu), Median(committed)};
}

Figures BankReceive(Session& program) {
    std::vector<PatchRecord> replies;
    for (int b = 0; b < Bank::kCount; ++b)
        for (int p = 0; p < Program::kCount; ++p)
            replies.push_back(Record("Received", b, p, b * 128 + p));
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
    return Time(program, [&] { files->cmdLoadAll_clicked(); });
}

Figures Median(const std::vector<Figures>& rounds) {
    std::vector<double> cpu, committed;
    for (const Figures& f : rounds) {
        cpu.push_back(f.cpu);
        committed.push_back(f.committed);
    }
    return {Median(cpu), Median(committed)};
}

void Print(const char* what, const std::vector<Figures>& withoutRounds,
           const std::vector<Figures>& withRounds) {
    const Figures without = Median(withoutRounds), with = Median(withRounds);
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
        for (int i = 0; i < 100; ++i)
            bytes +=
                Record("F" + std::to_string(f) + " P" + std::to_string(i), i % 8, i, f * 100 + i);
        QFile file(QDir(folder).filePath(QStringLiteral("file %1.syx").arg(f, 3, 10, QChar('0'))));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
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
            undoLoadAll[journal].push_back(
                Time(loaded, [&] { loaded.window.findChild<UndoHistory*>()->undo(); }));
        }
    }
    Print(("drag, a swap (median of " + std::to_string(repeats) + ")").c_str(), drag[0], drag[1]);
    Print("bank receive, 8 x 128 programs, one step", receive[0], receive[1]);
    Print("Load all, 300 files x 100 = 30,000 patches", loadAll[0], loadAll[1]);
    Print("undo of that Load all", undoLoadAll[0], undoLoadAll[1]);
    return 0;
}
