#pragma once
// How the synthesizer is recognised among the MIDI ports: its name holds "Deepmind" anywhere,
// in any letter case; the first such port in port order wins.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanq {

bool IsDeepMindPortName(std::string_view name);
std::optional<std::uint32_t> FindDeepMindPort(const std::vector<std::string>& names);

}  // namespace zanq
