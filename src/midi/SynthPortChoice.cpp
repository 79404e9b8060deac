#include "midi/SynthPortChoice.h"

#include <algorithm>

#include "model/SynthDialect.h"

namespace zanq {

std::optional<std::string> ChooseSynthPort(const std::vector<std::string>& names,
                                           const SynthDialect& dialect) {
    const auto found = std::find_if(names.begin(), names.end(), [&dialect](const std::string& n) {
        return dialect.isSynthPort(n);
    });
    if (found == names.end())
        return std::nullopt;
    return *found;
}

}  // namespace zanq
