// The Librarian's file loading lives beside the reader it drives.

#include "model/Librarian.h"
#include "sysexfiles/SysexFileReader.h"

namespace zanq {

FileLoad Librarian::loadFile(const QByteArray& nativePath, LoadTarget target) {
    FileLoad load;
    SysexFileReader reader(dialect_.recordLength());
    if (!reader.open(nativePath)) {
        load.error = reader.error();
        return load;
    }
    std::vector<PatchRecord> candidates;
    const auto keep = [&candidates](std::string_view record) { candidates.emplace_back(record); };
    while (!reader.atEnd()) {
        const bool read = reader.readSome(SysexFileReader::kChunk, keep);
        const LoadCounts chunk = apply(candidates, target);
        candidates.clear();
        load.counts.records += chunk.records;
        load.counts.placedInMatrix += chunk.placedInMatrix;
        load.counts.addedToLibrary += chunk.addedToLibrary;
        if (!read) {
            load.error = reader.error();
            break;
        }
    }
    return load;
}

}  // namespace zanq
