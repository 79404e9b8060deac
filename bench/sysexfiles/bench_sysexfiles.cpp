// bench_sysexfiles: the .syx files on big inputs, through the core and through the Load and
// Save commands of an offscreen main window.
//   1. A file of random bytes (1 GiB unless --random-mib says otherwise) and a 20 MiB file of
//      nothing but F7 bytes: time per MiB and growth of the peak resident memory.
//   2. The longest stall of the window's event loop during "Load file in Patch Library &
//      Matrix" on a 5 MiB file of patches, "Load all" over 300 files of 100 patches, and saving
//      the 30,000-patch library that leaves.
//   3. "Load all" against a library that walks all its entries for every name (skipped with
//      --no-walking).

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/DeepMindDialect.h"
#include "shell/Prompter.h"
#include "shell/frmMain.h"
#include "support/BenchSupport.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/SysexFileReader.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using namespace zanq::bench;

namespace {

// mib MiB of random bytes (a fixed seed, so every run reads the same file).
void WriteRandomFile(const QString& path, int mib) {
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

// What the library would cost without its name index: every question walks every entry.
class WalkingLibrary {
public:
    bool IsNewInLibrary(const std::string& name) const {
        for (const auto& entry : entries_)
            if (GetPatchName(entry) == name)
                return false;
        return !name.empty();
    }
    void AddToLibrary(const PatchRecord& record) { entries_.push_back(record); }
    std::size_t size() const { return entries_.size(); }

private:
    std::vector<PatchRecord> entries_;
};

// An offscreen main window with the file pane, browsing one folder.
struct Window {
    QString folder;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    MessageBoxPrompter prompter;
    AppContext context{librarian, prompter, folder};
    frmMain window{context};
    SysexFileCommands* files;
    explicit Window(const QString& browsed) : folder(browsed) {
        InstallSysexFiles(window, context);
        files = window.findChild<SysexFileCommands*>();
        window.show();
        QCoreApplication::processEvents();
    }
    // A load holds File1 disabled until it has ended.
    bool loading() const { return !window.fileBrowser().File1->isEnabled(); }
    Figures load(QPushButton* button) {
        files->selectFile(0);
        return Measure([button] { button->click(); }, [this] { return loading(); });
    }
};

void Print(const char* what, const Figures& f, double mib = 0) {
    std::printf(
        "%-44s wall %8.1f ms, CPU %8.1f ms, worst stall %5.1f ms (CPU %5.1f ms), "
        "peak +%6.1f MiB",
        what, f.wallMs, f.cpuMs, f.worstStallMs, f.worstStallCpuMs, f.peakGrowthMiB);
    if (mib > 0)
        std::printf(", %.2f ms/MiB wall", f.wallMs / mib);
    std::printf("\n");
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int mibArg = args.indexOf(QStringLiteral("--random-mib"));
    const int randomMiB = mibArg > 0 ? args.value(mibArg + 1).toInt() : 1024;
    const bool walking = !args.contains(QStringLiteral("--no-walking"));
    QTemporaryDir scratch;
    for (const char* folder : {"random", "flood", "patches", "folder"})
        QDir(scratch.path()).mkdir(QString::fromLatin1(folder));

    // 1. Hostile files.
    const QString randomPath = scratch.filePath("random/random.syx");
    WriteRandomFile(randomPath, randomMiB);
    std::size_t coreRecords = 0;
    const Figures core = Measure(
        [&] {
            DeepMindDialect dialect;
            Librarian librarian(dialect);
            coreRecords =
                librarian.loadFile(QFile::encodeName(randomPath), LoadTarget::Both).counts.records;
        },
        [] { return false; });
    std::printf("random file: %d MiB, %zu records in it\n", randomMiB, coreRecords);
    Print("random file, core reader", core, randomMiB);
    {
        Window w(scratch.filePath("random"));
        Print("random file, Load in Library & Matrix",
              w.load(w.window.fileBrowser().cmdLoadPatchListMatrix), randomMiB);
    }
    QFile::remove(randomPath);
    WriteFile(scratch.filePath("flood/f7.syx"), std::string(20 << 20, '\xF7'));
    {
        Window w(scratch.filePath("flood"));
        Print("20 MiB of F7, Load in Library & Matrix",
              w.load(w.window.fileBrowser().cmdLoadPatchListMatrix), 20);
    }

    // 2. Stalls of the window.
    std::string patches;
    for (int i = 0; patches.size() < (5u << 20); ++i)
        patches += Record(std::to_string(i), i % kBanks, i % kSlots, i);
    WriteFile(scratch.filePath("patches/5mib.syx"), patches);
    {
        Window w(scratch.filePath("patches"));
        Print("5 MiB of patches, Load in Library & Matrix",
              w.load(w.window.fileBrowser().cmdLoadPatchListMatrix), 5);
    }
    QStringList folderPaths;
    for (int f = 0; f < 300; ++f) {
        std::string bytes;
        for (int p = 0; p < 100; ++p)
            bytes += Record(std::to_string(f * 1000 + p), p % 8, p, f);
        folderPaths << scratch.filePath(QStringLiteral("folder/%1.syx").arg(f, 3, 10, QChar('0')));
        WriteFile(folderPaths.back(), bytes);
    }
    Window w(scratch.filePath("folder"));
    const Figures loadAll = w.load(w.window.fileBrowser().cmdLoadAll);
    Print("Load all, 300 files x 100 patches", loadAll);
    std::printf("Load all: %zu library patches\n", w.librarian.library().patchCount());
    frmSauver save(w.window, w.context, *w.files);
    save.Prepare(QDateTime::currentDateTime());
    save.Option1[kSaveLibrary]->setChecked(true);
    save.txtFilename->setText(QStringLiteral("bench"));
    Print("Save the 30,000-patch library",
          Measure([&] { save.cmdSauve->click(); }, [&] { return !save.cmdSauve->isEnabled(); }));

    // 3. The same Load all with a library that walks its entries.
    if (walking) {
        WalkingLibrary library;
        const double start = ThreadMillis();
        for (const QString& path : folderPaths) {
            SysexFileReader reader(kRecordLength);
            reader.open(QFile::encodeName(path));
            while (reader.isOpen())
                reader.readSome(SysexFileReader::kChunk, [&](std::string_view c) {
                    if (IsValidRecord(c) && library.IsNewInLibrary(GetPatchName(c)))
                        library.AddToLibrary(PatchRecord(c));
                });
        }
        std::printf("Load all with a walking library: %zu patches, %.0f ms CPU (%.0fx)\n",
                    library.size(), ThreadMillis() - start,
                    (ThreadMillis() - start) / loadAll.cpuMs);
    }
    return 0;
}
