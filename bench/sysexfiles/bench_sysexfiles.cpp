// Loader figures: splitting and validating a full 1024-patch dump, loading it through the Load
// command of an offscreen main window, and "Load all" over 300 files of 100 patches each. Each
// is set against the same work done with a library that walks all its entries for every name.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "model/DeepMindDialect.h"
#include "model/LibraryListWidget.h"
#include "shell/Prompter.h"
#include "shell/frmMain.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/SysexLoader.h"

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

void Write(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// CPU time of this thread: the machine is shared, so wall-clock time drifts with its load.
double ThreadMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Millis(const std::function<void()>& run, int repeats = 1) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const double start = ThreadMillis();
        run();
        times.push_back(ThreadMillis() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// What the library would cost without its name index: every question walks every entry.
class WalkingLibrary {
public:
    WalkingLibrary() : entries_(1) {}
    bool IsNewInLibrary(const std::string& name) const {
        if (name.empty())
            return false;
        for (const auto& entry : entries_)
            if (GetPatchName(entry) == name)
                return false;
        return true;
    }
    void AddToLibrary(const PatchRecord& record) { entries_.push_back(record); }
    std::size_t size() const { return entries_.size(); }

private:
    std::vector<PatchRecord> entries_;
};

// The loader's loop with the walking library in place of the real one.
std::size_t WalkingLoad(const QStringList& paths, bool toMatrix, WalkingLibrary& library,
                        Matrix& matrix) {
    for (const QString& path : paths)
        for (const auto& piece : ParseSysexPieces(ReadFileBytes(path).bytes)) {
            if (piece.empty())
                continue;
            if (toMatrix)
                matrix.set(Slot{Bank::fromByte(GetBankByte(piece)),
                                Program::fromByte(GetProgramByte(piece))},
                           piece);
            if (library.IsNewInLibrary(GetPatchName(piece)))
                library.AddToLibrary(piece);
        }
    return library.size() - 1;
}

struct Window {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    MessageBoxPrompter prompter;
    AppContext context;
    frmMain window;
    SysexFileCommands* files;
    explicit Window(const QString& folder) : context{librarian, prompter, folder}, window(context) {
        InstallSysexFiles(window, context);
        files = window.findChild<SysexFileCommands*>();
        window.show();
        QCoreApplication::processEvents();
    }
};

void Report(const char* what, double ms, double walkingMs, double targetMs) {
    std::printf("%-52s %9.2f ms CPU  (walking library %9.2f ms, %6.1fx; target < %.0f ms: %s)\n",
                what, ms, walkingMs, walkingMs / ms, targetMs, ms < targetMs ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // --no-walking skips the slow comparisons (for profiling the real path).
    const bool walking = !QCoreApplication::arguments().contains(QStringLiteral("--no-walking"));
    QTemporaryDir scratch;
    QDir(scratch.path()).mkdir("full");
    QDir(scratch.path()).mkdir("folder");

    std::string full;
    for (int bank = 0; bank < kBanks; ++bank)
        for (int program = 0; program < kSlots; ++program)
            full += Record("P" + std::to_string(bank * kSlots + program), bank, program, program);
    const QString fullPath = scratch.filePath("full/full.syx");
    Write(fullPath, full);

    QStringList folderPaths;
    for (int f = 0; f < 300; ++f) {
        std::string bytes;
        for (int p = 0; p < 100; ++p)
            bytes += Record("F" + std::to_string(f) + "-" + std::to_string(p), p % 8, p, f);
        folderPaths << scratch.filePath(QStringLiteral("folder/%1.syx").arg(f, 3, 10, QChar('0')));
        Write(folderPaths.back(), bytes);
    }

    // 1. Split and validate.
    std::size_t records = 0;
    const double split = Millis([&] { records = ExtractRecords(full).size(); }, 51);
    const double splitWalking = !walking ? 1
                                         : Millis(
                                               [&] {
                                                   WalkingLibrary library;
                                                   Matrix matrix;
                                                   WalkingLoad({fullPath}, true, library, matrix);
                                               },
                                               5);
    const double storeCore = Millis(
        [&] {
            const DeepMindDialect dialect;
            Librarian librarian(dialect);
            for (const auto& piece : ParseSysexPieces(ReadFileBytes(fullPath).bytes))
                librarian.apply(piece, LoadTarget::Both);
        },
        21);
    std::printf("1024-patch file: %zu records\n", records);
    Report("split + validate 1024-patch file (core)", split, splitWalking, 20);
    Report("read + split + store 1024 patches (core)", storeCore, splitWalking, 20);

    // 2. The Load command on the full dump, into the Matrix and the Library.
    double command = 0;
    {
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            Window w(scratch.filePath("full"));
            w.files->selectFile(0);
            runs.push_back(Millis([&] { w.files->cmdLoadPatchListMatrix_clicked(); }));
            if (w.librarian.library().patchCount() != 1024)
                std::printf("unexpected library size\n");
        }
        std::sort(runs.begin(), runs.end());
        command = runs[runs.size() / 2];
    }
    Report("Load file in Library & Matrix, 1024 patches (UI)", command, splitWalking, 20);

    // 3. Load all over 300 files of 100 distinct patches.
    Window w(scratch.filePath("folder"));
    QElapsedTimer wall;
    wall.start();
    const double loadAll = Millis([&] { w.files->cmdLoadAll_clicked(); });
    const double loadAllWall = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    const std::size_t loaded = w.librarian.library().patchCount();
    std::size_t walkingLoaded = 0;
    const double loadAllWalking = !walking ? 1 : Millis([&] {
        WalkingLibrary library;
        Matrix matrix;
        walkingLoaded = WalkingLoad(folderPaths, false, library, matrix);
    });
    std::printf("Load all: %zu library patches, %zu in the library (walking library: %zu)\n",
                loaded, w.librarian.library().patchCount(), walkingLoaded);
    Report("Load all, 300 files x 100 patches (UI)", loadAll, loadAllWalking, 1000);
    std::printf("Load all wall-clock time on this (shared) machine: %.0f ms\n", loadAllWall);
    {
        // Where Load all's time goes: the cost per file against the cost per record.
        QDir(scratch.path()).mkdir("tiny");
        QDir(scratch.path()).mkdir("big");
        std::string big;
        for (int f = 0; f < 300; ++f) {
            Write(scratch.filePath(QStringLiteral("tiny/%1.syx").arg(f)),
                  Record("T" + std::to_string(f), 0, 0, f));
            for (int p = 0; p < 100; ++p)
                big += Record("B" + std::to_string(f) + "-" + std::to_string(p), p % 8, p, f);
        }
        Write(scratch.filePath("big/big.syx"), big);
        Window t(scratch.filePath("tiny"));
        std::printf("breakdown: Load all over 300 one-patch files   %8.1f ms CPU\n",
                    Millis([&] { t.files->cmdLoadAll_clicked(); }));
        Window b(scratch.filePath("big"));
        std::printf("breakdown: Load all over one 30,000-patch file %8.1f ms CPU\n",
                    Millis([&] { b.files->cmdLoadAll_clicked(); }));
    }
    return 0;
}
