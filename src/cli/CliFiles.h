#pragma once
// Reading and writing .syx files for the commands. Files are read by the loader's own reader,
// so every command sees a file exactly as a load in the window would; files are written
// atomically, and an existing file is replaced only when the user said --force.

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "model/Librarian.h"
#include "model/PatchRecord.h"

namespace zanq::cli {

// One file as the loader cuts it: every stretch of a record's length in file order, valid or
// not, and what the rest of the file was.
struct SyxSurvey {
    QString error;                        // empty when the file was read to its end
    std::vector<PatchRecord> candidates;  // each ending in its F7
    std::vector<bool> valid;              // per candidate, as the dialect judges it
    std::size_t validRecords = 0;
    std::size_t invalidPieces = 0;  // pieces that gave no valid record
    qint64 ignoredBytes = 0;        // bytes of those pieces, their F7 bytes included
};
SyxSurvey SurveyFile(const QString& path, const SynthDialect& dialect);

// The valid records of a file in file order; complains, naming the file, when it cannot be
// read.
std::optional<std::vector<PatchRecord>> ValidRecords(const QString& path,
                                                     const SynthDialect& dialect);

// Loads a file into librarian as the window's Load commands do; complains, naming the file,
// and answers false when it cannot be read.
bool LoadInto(Librarian& librarian, const QString& path, LoadTarget target);

// Whether path may be written: not a folder, in a folder that exists, and not there already
// unless force. Complains and answers kFailed when not.
std::optional<int> CheckOutput(const QString& path, bool force);
// Checks as above, then writes bytes as the file's whole content; the file appears only once
// every byte is written. kDone, or kFailed after a complaint naming the file.
int WriteOutput(const QString& path, std::string_view bytes, bool force);

}  // namespace zanq::cli
