#include "model/PatchRecord.h"

#include <cstdio>

namespace zanq {

namespace {
constexpr std::size_t kBankPos = 8;      // byte 9, counted from 0
constexpr std::size_t kProgramPos = 9;   // byte 10
constexpr std::size_t kNameStart = 265;  // byte 266
constexpr std::size_t kNameLength = 17;  // bytes 266..282

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}
}  // namespace

int GetBankByte(std::string_view record) {
    return static_cast<unsigned char>(record.at(kBankPos));
}

int GetProgramByte(std::string_view record) {
    return static_cast<unsigned char>(record.at(kProgramPos));
}

std::string GetPatchName(std::string_view record) {
    if (record.size() <= kNameStart)
        return {};
    std::string_view window = TrimSpaces(record.substr(kNameStart, kNameLength));
    std::string joined;
    joined.reserve(window.size());
    for (char c : window) {
        if (c != '\0')
            joined.push_back(c);
    }
    return std::string(TrimSpaces(joined));
}

PatchRecord SetBankProgram(std::string_view record, int bank, int program) {
    PatchRecord out(record);
    if (out.size() > kProgramPos) {
        out[kBankPos] = static_cast<char>(bank & 0xFF);
        out[kProgramPos] = static_cast<char>(program & 0xFF);
    }
    return out;
}

bool IsValidRecord(std::string_view bytes) {
    return bytes.size() == kRecordLength && GetBankByte(bytes) < kBanks &&
           GetProgramByte(bytes) < kSlots;
}

std::string BankLetter(int bankNumber) {
    return std::string(1, static_cast<char>(bankNumber + 64));
}

std::string FormatProgram(int slot) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", slot);
    return buf;
}

std::string MatrixPlace(int bankNumber, int slot) {
    return "Bank " + BankLetter(bankNumber) + "-" + FormatProgram(slot);
}

}  // namespace zanq
