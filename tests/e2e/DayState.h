#pragma once
// What the whole-day test keeps between its steps, and the checks each step makes of the
// window, the Matrix, the program folder and the simulated synth's memory.

#include <QDir>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <tuple>

#include "DayHarness.h"
#include "shell/LibrarianApp.h"
#include "support/DeepMindSim.h"
#include "support/MainRig.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq::test {

// Bank C ends at slot 120 and bank H stays empty, so the day has gaps to keep.
constexpr int kDayPatches = 6 * kSlots + 120;
// A .syx file's bytes: count records named name001, name002... for bank's first slots.
inline QByteArray Series(const std::string& name, int bank, int count, int seed) {
    std::string records;
    for (int i = 1; i <= count; ++i)
        records += MakeRecord(name + FormatProgram(i), bank - 1, i - 1, seed + i);
    return QByteArray::fromStdString(records);
}
// A record as it leaves for another place: only its bank and program bytes change.
inline QByteArray Retargeted(PatchRecord r, int bank, int slot) {
    r[8] = static_cast<char>(bank - 1);
    r[9] = static_cast<char>(slot - 1);
    return QByteArray::fromStdString(r);
}
using Shown = std::tuple<int, int, const char*>;  // bank, slot, text ("" for an empty cell)

struct DayState {
    QTemporaryDir folder;
    DeepMindSim sim;
    QString simMemory;
    bool withSynth = false;
    std::unique_ptr<LibrarianApp> app;
    MessageBoxAnswers boxes;
    PatchRecord lead7;
    std::unique_ptr<MainUi> ui;

    frmMain& window() { return app->window(); }
    const Matrix& matrix() { return app->librarian().matrix(); }
    SysexFileCommands& files() { return *window().findChild<SysexFileCommands*>(); }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    static QByteArray Bytes(const PatchRecord& r) { return QByteArray::fromStdString(r); }
    QModelIndex gridIndex(int bank, int slot) { return ui->gridModel->index(slot - 1, bank - 1); }

    // Whether the Matrix holds inMatrix patches, the library list and its status panel show
    // inLibrary, and the grid shows these cells; prints both sides when anything differs.
    bool shows(int inMatrix, int inLibrary, std::initializer_list<Shown> cells) {
        QStringList seen{QString::number(matrix().CountMatrixPatches()),
                         QString::number(ui->List1->count()), ui->StatusPanel[1]->text()};
        QStringList expected{QString::number(inMatrix), QString::number(inLibrary),
                             QStringLiteral("Patches in library : %1").arg(inLibrary)};
        for (const auto& [bank, slot, text] : cells) {
            seen << gridIndex(bank, slot).data().toString();
            expected << QString::fromLatin1(text);
        }
        if (seen != expected)
            qWarning("shows %s\nnot   %s", qPrintable(seen.join('|')),
                     qPrintable(expected.join('|')));
        return seen == expected;
    }
    // Whether the file is in the program folder, listed in File1 and holds exactly these bytes.
    bool fileHolds(const QString& name, const QByteArray& expected) {
        const QByteArray held = ReadWholeFile(path(name));
        const bool listed = listedFiles().contains(name);
        if (held != expected || !listed)
            qWarning("%s: %lld bytes, %lld expected, listed %d", qPrintable(name),
                     qlonglong(held.size()), qlonglong(expected.size()), listed);
        return held == expected && listed;
    }
    QStringList listedFiles() { return ListedFiles(files()); }
    bool selectFile(const QString& name) { return SelectFile(files(), name); }
    // The Matrix as the all-banks file holds it: banks A..H, slots in order, gaps skipped.
    QByteArray matrixBytes(int bank = 0) {
        QByteArray all;
        for (int b = 1; b <= kBanks; ++b)
            for (int s = 1; s <= kSlots; ++s)
                if ((bank == 0 || bank == b) && !matrix().isEmpty(At(b, s)))
                    all += Bytes(matrix().at(At(b, s)));
        return all;
    }
    // The simulator's memory, all 8 x 128 programs, as it writes it on request.
    QByteArray synthMemory() { return sim.save() ? ReadWholeFile(simMemory) : QByteArray(); }
};

}  // namespace zanq::test
