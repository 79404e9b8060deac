#include "midi/PortMatch.h"

#include <algorithm>
#include <cctype>

namespace zanq {

bool IsDeepMindPortName(std::string_view name) {
    static constexpr std::string_view word = "deepmind";
    const auto it = std::search(
        name.begin(), name.end(), word.begin(), word.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return it != name.end();
}

std::optional<std::uint32_t> FindDeepMindPort(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (IsDeepMindPortName(names[i]))
            return static_cast<std::uint32_t>(i);
    return std::nullopt;
}

}  // namespace zanq
