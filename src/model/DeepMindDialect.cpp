#include "model/DeepMindDialect.h"

#include <algorithm>

namespace zanq {

namespace {
// Offsets counted from 0; the synth's documentation counts from 1 (bank byte 9, program
// byte 10, name bytes 266..282).
constexpr std::size_t kLength = 291;
constexpr std::size_t kBankAt = 8;
constexpr std::size_t kProgramAt = 9;
constexpr std::size_t kNameAt = 265;
constexpr std::size_t kNameLength = 17;
constexpr unsigned char kEnd = 0xF7;

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

int ByteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
}  // namespace

std::string DeepMindDialect::modelName() const {
    return "DeepMind";
}

std::size_t DeepMindDialect::recordLength() const {
    return kLength;
}

bool DeepMindDialect::isValidRecord(std::string_view bytes) const {
    // Nothing but length and the two place bytes is examined: any message of that length whose
    // bank and program are in range is taken as a patch.
    return bytes.size() == kLength && ByteAt(bytes, kBankAt) < Bank::kCount &&
           ByteAt(bytes, kProgramAt) < Program::kCount;
}

Slot DeepMindDialect::slotOf(std::string_view record) const {
    return {Bank::fromByte(ByteAt(record, kBankAt)), Program::fromByte(ByteAt(record, kProgramAt))};
}

std::string DeepMindDialect::retarget(std::string_view record, Slot slot) const {
    std::string out(record);
    if (out.size() > kProgramAt) {
        out[kBankAt] = static_cast<char>(slot.bank.byte());
        out[kProgramAt] = static_cast<char>(slot.program.byte());
    }
    return out;
}

std::string DeepMindDialect::patchName(std::string_view record) const {
    if (record.size() <= kNameAt)
        return {};
    // Spaces around the window go, NULs anywhere go (the pieces join), then spaces around
    // what is left go once more; spaces inside the name stay.
    const std::string_view window = TrimSpaces(record.substr(kNameAt, kNameLength));
    std::string joined(window);
    joined.erase(std::remove(joined.begin(), joined.end(), '\0'), joined.end());
    return std::string(TrimSpaces(joined));
}

std::string DeepMindDialect::programDumpRequest(Slot slot) const {
    std::string request("\xF0\x00\x20\x32\x20\x00\x01", 7);
    request.push_back(static_cast<char>(slot.bank.byte()));
    request.push_back(static_cast<char>(slot.program.byte()));
    request.push_back(static_cast<char>(kEnd));
    return request;
}

bool DeepMindDialect::isSynthPort(std::string_view portName) const {
    static constexpr std::string_view kWord = "deepmind";
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::search(portName.begin(), portName.end(), kWord.begin(), kWord.end(),
                       [&](char a, char b) { return lower(a) == b; }) != portName.end();
}

}  // namespace zanq
