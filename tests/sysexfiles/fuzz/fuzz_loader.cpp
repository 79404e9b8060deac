// libFuzzer target for the .syx loader: any byte string is a possible file. Checks that the
// split and the record tests agree with a byte-by-byte reading of the input, that the stores
// keep their rules whatever the file holds, and that saving what was loaded reads back whole.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "sysexfiles/SysexLoader.h"
#include "sysexfiles/SysexSaver.h"

using namespace zanq;

namespace {
void Check(bool condition) {
    if (!condition)
        std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto pieces = SplitAtF7(bytes);
    std::size_t f7 = 0;
    for (char c : bytes)
        f7 += static_cast<unsigned char>(c) == kSysexEnd;
    Check(size == 0 ? pieces.empty() : pieces.size() == f7 + 1);

    const auto parsed = ParseSysexPieces(bytes);
    Check(parsed.size() == pieces.size());
    std::size_t offset = 0;
    std::size_t records = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        Check(bytes.substr(offset, pieces[i].size()) == pieces[i]);
        offset += pieces[i].size() + 1;
        Check(parsed[i] == ValidatePiece(pieces[i]));
        if (parsed[i].empty())
            continue;
        ++records;
        Check(parsed[i].size() == kRecordLength && IsValidRecord(parsed[i]));
        Check(parsed[i].compare(0, kRecordLength - 1, pieces[i]) == 0);
    }
    const auto extracted = ExtractRecords(bytes);
    Check(extracted.size() == records);

    const DeepMindDialect dialect;
    Librarian librarian(dialect);
    librarian.apply(parsed, LoadTarget::Both);
    const Matrix& matrix = librarian.matrix();
    const Library& library = librarian.library();
    std::set<std::string> names;
    for (std::size_t i = 1; i < library.size(); ++i) {
        const std::string name = GetPatchName(library.entry(i));
        Check(!name.empty() && names.insert(name).second);
    }
    // The later record for a slot wins.
    std::set<int> seen;
    for (auto it = extracted.rbegin(); it != extracted.rend(); ++it) {
        const Slot slot = dialect.slotOf(*it);
        if (seen.insert(slot.index()).second)
            Check(matrix.at(slot) == *it);
    }

    // Whatever was loaded saves and reads back record for record.
    const auto again = ExtractRecords(AllBanksContent(matrix));
    Check(static_cast<int>(again.size()) == matrix.CountMatrixPatches());
    for (const auto& record : again)
        Check(matrix.at(dialect.slotOf(record)) == record);
    const auto libraryAgain = ExtractRecords(LibraryContent(library));
    Check(libraryAgain.size() == library.patchCount());
    return 0;
}
