#pragma once
// The DeepMind: 291-byte program dumps, bank byte at 9 and program byte at 10 (counted from
// 1), the name in bytes 266..282, requests F0 00 20 32 20 00 01 bank program F7, and ports
// whose name holds "deepmind" in any letter case.

#include "model/SynthDialect.h"

namespace zanq {

class DeepMindDialect final : public SynthDialect {
public:
    std::string modelName() const override;
    std::size_t recordLength() const override;
    bool isValidRecord(std::string_view bytes) const override;
    Slot slotOf(std::string_view record) const override;
    std::string retarget(std::string_view record, Slot slot) const override;
    std::string patchName(std::string_view record) const override;
    std::string programDumpRequest(Slot slot) const override;
    bool isSynthPort(std::string_view portName) const override;
};

}  // namespace zanq
