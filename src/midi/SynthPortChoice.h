#pragma once
// Which of the MIDI system's ports the program takes for the synth: the first, in the system's
// own order, whose name the dialect accepts. Detection in the window and the command line
// choose alike, so both talk to the same synth when several ports would do.

#include <optional>
#include <string>
#include <vector>

namespace zanq {

class SynthDialect;

std::optional<std::string> ChooseSynthPort(const std::vector<std::string>& names,
                                           const SynthDialect& dialect);

}  // namespace zanq
