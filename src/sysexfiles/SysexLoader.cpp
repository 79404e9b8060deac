#include "sysexfiles/SysexLoader.h"

#include <QFile>
#include <cstring>

namespace zanq {

FileBytes ReadFileBytes(const QString& path) {
    FileBytes result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    result.bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    result.ok = true;
    return result;
}

template <typename Visit>
static void ForEachPiece(std::string_view bytes, Visit visit) {
    if (bytes.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const void* hit = std::memchr(bytes.data() + start, kSysexEnd, bytes.size() - start);
        if (!hit) {
            visit(bytes.substr(start));
            return;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
        visit(bytes.substr(start, end - start));
        start = end + 1;
    }
}

std::vector<std::string> SplitAtF7(std::string_view bytes) {
    std::vector<std::string> pieces;
    ForEachPiece(bytes, [&](std::string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

PatchRecord ValidatePiece(std::string piece) {
    if (piece.size() + 1 != kRecordLength)
        return {};
    piece.push_back(static_cast<char>(kSysexEnd));
    if (!IsValidRecord(piece))
        return {};
    return piece;
}

namespace {
// Closes a 290-byte stretch with its F7 and applies the record tests.
PatchRecord CloseStretch(std::string_view piece) {
    PatchRecord record;
    record.reserve(kRecordLength);
    record.append(piece);
    record.push_back(static_cast<char>(kSysexEnd));
    return IsValidRecord(record) ? record : PatchRecord();
}
}  // namespace

std::vector<PatchRecord> ParseSysexPieces(std::string_view bytes) {
    std::vector<PatchRecord> pieces;
    ForEachPiece(bytes, [&](std::string_view piece) {
        pieces.push_back(piece.size() + 1 == kRecordLength ? CloseStretch(piece) : PatchRecord());
    });
    return pieces;
}

std::vector<PatchRecord> ExtractRecords(std::string_view bytes) {
    std::vector<PatchRecord> records;
    ForEachPiece(bytes, [&](std::string_view piece) {
        if (piece.size() + 1 != kRecordLength)
            return;
        PatchRecord record = CloseStretch(piece);
        if (!record.empty())
            records.push_back(std::move(record));
    });
    return records;
}

}  // namespace zanq
