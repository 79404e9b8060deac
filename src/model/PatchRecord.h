#pragma once
// A program dump held whole as bytes: the empty string is the empty record (no patch). The
// free functions are shorthands over the DeepMind dialect for code that names no dialect;
// code that has one asks it instead.

#include <cstdint>
#include <string>
#include <string_view>

namespace zanq {

using PatchRecord = std::string;

inline constexpr std::size_t kRecordLength = 291;
inline constexpr unsigned char kSysexEnd = 0xF7;
inline constexpr int kBanks = 8;
inline constexpr int kSlots = 128;

int GetBankByte(std::string_view record);
int GetProgramByte(std::string_view record);
std::string GetPatchName(std::string_view record);
PatchRecord SetBankProgram(std::string_view record, int bank, int program);
bool IsValidRecord(std::string_view bytes);

// "A".."H" for bank number 1..8.
std::string BankLetter(int bankNumber);
// "001".."128" for slot 1..128.
std::string FormatProgram(int slot);

}  // namespace zanq
