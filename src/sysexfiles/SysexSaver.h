#pragma once
// Saving .syx files: which files each choice of the Save window writes, what goes in them and
// the write itself. A saved file is a plain run of 291-byte records, no header or trailer, so
// the loader reads every record back to the slot its own bytes name.

#include <QDateTime>
#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zanq {

class Library;
class Matrix;

// Indices of the Save window's option group.
inline constexpr int kSaveLibrary = 0;        // 1..8: one bank
inline constexpr int kSaveSeparateBanks = 9;  // one file per occupied bank
inline constexpr int kSaveAllBanks = 10;      // one file with every bank
inline constexpr int kSaveNothing = 11;       // hidden; selected when nothing can be saved
inline constexpr int kSaveOptions = 12;

// "yyyy-mm-dd hhnn", the name the window offers.
QString PresetSaveName(const QDateTime& when);

// The typed name goes through SafeFileName: whatever it holds, the file lands in the folder.
QString LibraryFileName(const QString& name);         // "Patchlist - name.syx"
QString BankFileName(const QString& name, int bank);  // "name - BANK_C.syx"
QString AllBanksFileName(const QString& name);        // "ALL - name.syx"

// Library entries 1, 2, ... in the order they were added; emptied entries leave no trace.
std::string LibraryContent(const Library& library);
// Slots 1..128 of one bank, empty slots skipped.
std::string BankContent(const Matrix& matrix, int bank);
// Banks A..H one after another.
std::string AllBanksContent(const Matrix& matrix);

// One file an option writes: its name in the folder and what it holds.
struct SaveTarget {
    static constexpr int kLibrary = 0;
    static constexpr int kAllBanks = -1;
    QString fileName;
    int bank = kLibrary;  // 1..8 for one bank, or kLibrary, or kAllBanks
};
std::vector<SaveTarget> SaveTargets(int option, const QString& name, const Matrix& matrix);

struct SaveFile {
    QString path;
    std::string bytes;
};

// Every file an option writes, in writing order: folder joined with the file name.
std::vector<SaveFile> FilesToSave(int option, const QString& folder, const QString& name,
                                  const Matrix& matrix, const Library& library);

// Which options the window enables, which it selects and whether Save is enabled, from the
// stores as they are when it opens. libraryLines is the number of lines in the library list.
struct SaveChoices {
    std::array<bool, kSaveOptions> enabled{};
    int selected = kSaveNothing;
    bool saveEnabled = false;
};
SaveChoices SaveChoicesFor(const Matrix& matrix, int libraryLines);

// Writes the bytes as the whole new content of path: the file is replaced only once every
// byte is written, so a failure leaves any earlier file untouched. Returns the reason on
// failure, an empty string on success.
QString WriteSysexFile(const QString& path, std::string_view bytes);

}  // namespace zanq
