// libFuzzer target for the .syx splitter: any byte string is a possible file, cut into chunks
// at sizes the input itself chooses. The candidates must be the same whatever the chunks, must
// match a plain reading of the whole input, and the stores must keep their rules.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "sysexfiles/SysexSaver.h"
#include "sysexfiles/SysexSplitter.h"

using namespace zanq;

namespace {
void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The whole input at once: every stretch between F7 bytes of the right length.
std::vector<std::string> Reference(std::string_view bytes) {
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        const bool end = i == bytes.size();
        if (!end && bytes[i] != SysexSplitter::kEnd)
            continue;
        if (i - start == kRecordLength - 1)
            records.push_back(std::string(bytes.substr(start, i - start)) + SysexSplitter::kEnd);
        start = i + 1;
    }
    return records;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes pick the chunk size, the rest is the file.
    const std::size_t chunk = 1 + (data[0] | (data[1] << 8));
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    std::vector<std::string> candidates;
    SysexSplitter splitter(kRecordLength);
    const auto keep = [&](std::string_view record) { candidates.emplace_back(record); };
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        splitter.feed(bytes.substr(at, chunk), keep);
    splitter.finish(keep);
    Check(candidates == Reference(bytes));

    const DeepMindDialect dialect;
    Librarian librarian(dialect);
    std::vector<PatchRecord> records;
    for (const auto& candidate : candidates)
        if (dialect.isValidRecord(candidate))
            records.push_back(candidate);
    Check(librarian.apply(candidates, LoadTarget::Both).records == records.size());
    const Matrix& matrix = librarian.matrix();
    const Library& library = librarian.library();
    std::set<std::string> names;
    for (std::size_t i = 1; i < library.size(); ++i) {
        const std::string name = library.nameAt(i);
        Check(!name.empty() && names.insert(name).second);
    }
    // The later record for a slot wins.
    std::set<int> seen;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const Slot slot = dialect.slotOf(*it);
        if (seen.insert(slot.index()).second)
            Check(matrix.at(slot) == *it);
    }
    // Whatever was loaded saves as whole records that split back into the same records.
    const std::string saved = AllBanksContent(matrix);
    Check(saved.size() == static_cast<std::size_t>(matrix.CountMatrixPatches()) * kRecordLength);
    Check(Reference(saved).size() == static_cast<std::size_t>(matrix.CountMatrixPatches()));
    return 0;
}
