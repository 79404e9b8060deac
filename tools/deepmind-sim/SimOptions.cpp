#include "SimOptions.h"

#include <cstdlib>
#include <sstream>
#include <utility>

namespace sim {

const char* const kUsage =
    "usage: deepmind-sim [options]\n"
    "  --client NAME       JACK client name (default DeepMind12); ports are NAME MIDI in/out\n"
    "  --syx FILE          fill memory from a .syx file (default: made-up programs \"SIM "
    "A-001\"...)\n"
    "  --latency MS        delay before each reply (default 0)\n"
    "  --fault MODE        every reply: none, silent, late, short, long, range, other-slot\n"
    "  --late-ms MS        delay of the late fault (default 400)\n"
    "  --garble-every N    cut every N-th reply short (290 bytes)\n"
    "  --drop-replies LIST leave these requests unanswered, counted from 1 (\"5,6,40\")\n"
    "  --refuse-dumps LIST do not store these program dumps, counted from 1\n"
    "  --vanish-after N    answer N requests, then close the ports at the next one and exit\n"
    "  --vanish-after-dumps N  store N program dumps, then close the ports and exit\n"
    "  --save FILE         write memory as .syx on SIGUSR1 and on exit\n"
    "Prints \"ready\" once its ports exist, one line per request and stored dump, \"saved\" after\n"
    "each write. SIGTERM or SIGINT ends it.\n";

namespace {

bool ParseFault(const std::string& s, Fault& f) {
    const std::pair<const char*, Fault> names[] = {
        {"none", Fault::None},           {"silent", Fault::Silent}, {"late", Fault::Late},
        {"short", Fault::Short},         {"long", Fault::Long},     {"range", Fault::Range},
        {"other-slot", Fault::OtherSlot}};
    for (auto [name, fault] : names)
        if (s == name) {
            f = fault;
            return true;
        }
    return false;
}

bool ParseList(const std::string& s, std::set<long>& numbers) {
    std::istringstream in(s);
    std::string item;
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        const long n = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || n < 1)
            return false;
        numbers.insert(n);
    }
    return true;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h" || i + 1 >= argc)
            return false;
        const std::string v = argv[++i];
        if (a == "--client")
            o.client = v;
        else if (a == "--syx")
            o.syx = v;
        else if (a == "--save")
            o.save = v;
        else if (a == "--latency")
            o.latencyMs = std::atoi(v.c_str());
        else if (a == "--late-ms")
            o.lateMs = std::atoi(v.c_str());
        else if (a == "--garble-every")
            o.garbleEvery = std::atol(v.c_str());
        else if (a == "--vanish-after")
            o.vanishAfter = std::atol(v.c_str());
        else if (a == "--vanish-after-dumps")
            o.vanishAfterDumps = std::atol(v.c_str());
        else if (a == "--drop-replies") {
            if (!ParseList(v, o.dropReplies))
                return false;
        } else if (a == "--refuse-dumps") {
            if (!ParseList(v, o.refuseDumps))
                return false;
        } else if (a == "--fault") {
            if (!ParseFault(v, o.fault))
                return false;
        } else
            return false;
    }
    return true;
}

}  // namespace sim
