#include "model/PatchRecord.h"

#include "model/DeepMindDialect.h"

namespace zanq {

namespace {
const DeepMindDialect kDeepMind;
}

int GetBankByte(std::string_view record) {
    return kDeepMind.slotOf(record).bank.byte();
}

int GetProgramByte(std::string_view record) {
    return kDeepMind.slotOf(record).program.byte();
}

std::string GetPatchName(std::string_view record) {
    return kDeepMind.patchName(record);
}

PatchRecord SetBankProgram(std::string_view record, int bank, int program) {
    return kDeepMind.retarget(record, {Bank::fromByte(bank), Program::fromByte(program)});
}

bool IsValidRecord(std::string_view bytes) {
    return kDeepMind.isValidRecord(bytes);
}

std::string BankLetter(int bankNumber) {
    return std::string(1, Bank::fromNumber(bankNumber).letter());
}

std::string FormatProgram(int slot) {
    return Program::fromNumber(slot).text();
}

}  // namespace zanq
