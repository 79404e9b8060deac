// libFuzzer target for the .syx splitter: any byte string is a possible file, cut into chunks
// at sizes the input itself chooses. The records must be the same whatever the chunks, and
// those of a plain reading of the whole input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/PatchRecord.h"
#include "sysexfiles/SysexSplitter.h"

using namespace zanq;

namespace {
// The whole input at once: every stretch between F7 bytes of the right length.
std::vector<std::string> Reference(std::string_view bytes) {
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != SysexSplitter::kEnd)
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
    std::vector<std::string> records;
    SysexSplitter splitter(kRecordLength);
    const auto keep = [&](std::string_view record) { records.emplace_back(record); };
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        splitter.feed(bytes.substr(at, chunk), keep);
    splitter.finish(keep);
    if (records != Reference(bytes))
        std::abort();
    return 0;
}
