#pragma once
// The simulator's command line: which JACK client to be, what to remember, and which faults
// of a real synth and a real USB MIDI link to play.

#include <set>
#include <string>

namespace sim {

// What every reply suffers.
enum class Fault { None, Silent, Late, Short, Long, Range, OtherSlot };

struct Options {
    std::string client = "DeepMind12";
    std::string syx;
    std::string save;
    int latencyMs = 0;
    int lateMs = 400;
    Fault fault = Fault::None;
    long garbleEvery = 0;        // every n-th reply comes cut short (0: none)
    std::set<long> dropReplies;  // these requests (counted from 1) get no reply
    std::set<long> refuseDumps;  // these program dumps (counted from 1) are not stored
    long vanishAfter = -1;       // requests answered before the synth goes away
    long vanishAfterDumps = -1;  // program dumps stored before the synth goes away
};

extern const char* const kUsage;

// False on --help or anything it does not understand.
bool ParseOptions(int argc, char** argv, Options& options);

}  // namespace sim
