#pragma once
// The simulated synthesizer's program memory: 8 banks of 128 program dumps, filled from a .syx
// file or made up with names that say where they belong ("SIM A-001" ...).

#include <array>
#include <optional>
#include <string>

namespace sim {

constexpr std::size_t kDumpLength = 291;
constexpr int kBanks = 8;
constexpr int kPrograms = 128;

class SimMemory {
public:
    SimMemory();

    // Places every 291-byte piece ending in F7 at the slot it names; false if unreadable.
    bool load(const std::string& path);
    // Writes all 1024 dumps, bank by bank, in program order.
    bool save(const std::string& path) const;

    const std::string& at(int bank, int program) const {
        return slots_[bank * kPrograms + program];
    }
    // Stores a valid program dump at the slot it names; false (and nothing stored) otherwise.
    bool store(const std::string& dump);

    static std::string MakeDump(int bank, int program);
    static bool IsDump(const std::string& bytes);
    // Bank and program of a program dump request F0 00 20 32 20 00 01 bank program F7.
    static std::optional<std::pair<int, int>> ParseRequest(const std::string& bytes);

private:
    std::array<std::string, kBanks * kPrograms> slots_;
};

}  // namespace sim
