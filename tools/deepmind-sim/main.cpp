// deepmind-sim: plays a DeepMind on JACK MIDI. It answers program dump requests from its
// memory and keeps every program dump sent to it, and can play the faults of a real synth and
// a real USB MIDI link: replies garbled or dropped, a synth that goes away. See --help.

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <atomic>
#include <csignal>
#include <cstdio>

#include "SimJack.h"
#include "SimMemory.h"
#include "SimOptions.h"
#include "SimSynth.h"

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> saveRequested{false};

void OnSignal(int sig) {
    if (sig == SIGUSR1)
        saveRequested = true;
    else
        stopRequested = true;
    sim::SimJack::wake();
}

// Gathers SysEx messages from the incoming events: a message may come cut into chunks, and
// anything else (notes, clock) is no part of one.
class SysexGatherer {
public:
    // True when event completes a message, which is then in message().
    bool add(const std::string& event) {
        if (event.empty())
            return false;
        const auto first = static_cast<unsigned char>(event.front());
        if (first == 0xF0) {
            pending_ = event;
            inSysex_ = true;
        } else if (inSysex_ && (first < 0x80 || first == 0xF7)) {
            pending_ += event;
        } else {
            return false;
        }
        if (static_cast<unsigned char>(pending_.back()) != 0xF7)
            return false;
        inSysex_ = false;
        return true;
    }
    const std::string& message() const { return pending_; }

private:
    std::string pending_;
    bool inSysex_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    sim::Options o;
    if (!sim::ParseOptions(argc, argv, o)) {
        std::fputs(sim::kUsage, stderr);
        return 2;
    }
    sim::SimMemory memory;
    if (!o.syx.empty() && !memory.load(o.syx)) {
        std::fprintf(stderr, "deepmind-sim: cannot read %s\n", o.syx.c_str());
        return 1;
    }

    sim::SimJack::prepare();
    struct sigaction sa {};
    sa.sa_handler = &OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGUSR1, &sa, nullptr);
#ifdef __linux__
    // The simulator never outlives the test or demo that started it: a leftover one would keep
    // the synth's name on the server and hold its parent's output open.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif

    sim::SimJack jack;
    if (!jack.open(o.client))
        return 1;
    sim::Say("ready");

    sim::SimSynth synth(o, memory);
    SysexGatherer gatherer;
    std::string event;
    bool vanished = false;
    std::optional<sim::Clock::time_point> next;
    while (!stopRequested && !jack.serverGone() && !vanished) {
        sim::SimJack::waitForWork(next);
        while (!vanished && jack.takeEvent(event))
            if (gatherer.add(event))
                vanished = !synth.handle(gatherer.message());
        next = synth.flush(jack);
        if (saveRequested.exchange(false) && !o.save.empty() && memory.save(o.save))
            sim::Say("saved");
    }
    jack.close();
    if (vanished)
        sim::Say("vanished");
    if (jack.droppedIn())
        std::fprintf(stderr, "deepmind-sim: %u incoming events dropped\n", jack.droppedIn());
    if (!o.save.empty() && memory.save(o.save))
        sim::Say("saved");
    return 0;
}
