#pragma once
// Reading .syx files: the whole file as raw bytes, split at every F7, each piece kept when it
// is (with its F7) a 291-byte program dump whose bank and program bytes are in range. A file is
// just a concatenation of SysEx messages; anything that is not a program dump is skipped.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/PatchRecord.h"

namespace zanq {

// The file's bytes, or why they could not be had.
struct FileBytes {
    bool ok = false;
    std::string bytes;
    QString error;  // the system's reason when !ok
};

FileBytes ReadFileBytes(const QString& path);

// The stretches before the first F7, between each two F7 and after the last F7, without the
// F7 bytes: k F7 bytes give k + 1 pieces, an empty input gives none.
std::vector<std::string> SplitAtF7(std::string_view bytes);

// Appends the F7 the split took and keeps the piece when it is then a valid record; the empty
// record otherwise. So a final 290-byte stretch without its closing F7 still counts.
PatchRecord ValidatePiece(std::string piece);

// Split and validate in one pass: one entry per piece, empty where the piece is no record.
std::vector<PatchRecord> ParseSysexPieces(std::string_view bytes);

// Only the records, in file order.
std::vector<PatchRecord> ExtractRecords(std::string_view bytes);

}  // namespace zanq
