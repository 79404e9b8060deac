#pragma once
// A DeepMind program dump: one SysEx message of exactly 291 bytes, held whole and never
// decoded. Bytes are counted from 1 as in the synth's documentation: byte 9 is the bank
// (0..7 = A..H), byte 10 the program (0..127), bytes 266..282 the name, byte 291 the F7.
// The empty string is the empty record (no patch).

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

// The two tests a byte string must pass before it may enter the Matrix or the Library:
// 291 bytes long with its final F7 counted, bank byte 0..7 and program byte 0..127.
// Nothing else is examined: any 291-byte message with those two bytes in range is a patch.
bool IsValidRecord(std::string_view bytes);

// "A".."H" for bank number 1..8.
std::string BankLetter(int bankNumber);
// "001".."128" for slot 1..128.
std::string FormatProgram(int slot);
// "Bank C-007": how prompts name a Matrix slot.
std::string MatrixPlace(int bankNumber, int slot);

}  // namespace zanq
