// deepmind-sim: plays a DeepMind on JACK MIDI. It answers program dump requests from its
// memory and keeps every program dump sent to it. See --help.

#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>
#include <semaphore.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>

#include "SimMemory.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class Fault { None, Silent, Late, Short, Long, Range, OtherSlot };

struct Options {
    std::string client = "DeepMind12";
    std::string syx;
    std::string save;
    int latencyMs = 0;
    int lateMs = 400;
    long vanishAfter = -1;
    Fault fault = Fault::None;
};

const char* kUsage =
    "usage: deepmind-sim [options]\n"
    "  --client NAME       JACK client name (default DeepMind12); ports are NAME MIDI in/out\n"
    "  --syx FILE          fill memory from a .syx file (default: made-up programs \"SIM "
    "A-001\"...)\n"
    "  --latency MS        delay before each reply (default 0)\n"
    "  --fault MODE        none, silent, late, short, long, range, other-slot\n"
    "  --late-ms MS        delay of the late fault (default 400)\n"
    "  --vanish-after N    answer N requests, then close the ports at the next one and exit\n"
    "  --save FILE         write memory as .syx on SIGUSR1 and on exit\n"
    "Prints \"ready\" once its ports exist, one line per request and stored dump, \"saved\" after\n"
    "each write. SIGTERM or SIGINT ends it.\n";

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

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h")
            return false;
        if (!hasValue)
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
        else if (a == "--vanish-after")
            o.vanishAfter = std::atol(v.c_str());
        else if (a == "--fault") {
            if (!ParseFault(v, o.fault))
                return false;
        } else
            return false;
    }
    return true;
}

// Shared with the JACK thread and the signal handlers.
sem_t wake;
std::atomic<bool> stopRequested{false};
std::atomic<bool> saveRequested{false};
std::atomic<bool> serverGone{false};

struct Link {
    jack_client_t* client = nullptr;
    jack_port_t* in = nullptr;
    jack_port_t* out = nullptr;
    jack_ringbuffer_t* incoming = nullptr;  // JACK thread -> main: size-prefixed events
    jack_ringbuffer_t* outgoing = nullptr;  // main -> JACK thread: size-prefixed messages
    std::atomic<unsigned> droppedIn{0};
};

int Process(jack_nframes_t frames, void* arg) {
    auto* link = static_cast<Link*>(arg);
    void* inBuf = jack_port_get_buffer(link->in, frames);
    const jack_nframes_t count = jack_midi_get_event_count(inBuf);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t ev;
        if (jack_midi_event_get(&ev, inBuf, i) != 0)
            continue;
        const auto size = static_cast<std::uint32_t>(ev.size);
        if (jack_ringbuffer_write_space(link->incoming) < sizeof size + size) {
            link->droppedIn.fetch_add(1);
            continue;
        }
        jack_ringbuffer_write(link->incoming, reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(link->incoming, reinterpret_cast<const char*>(ev.buffer), size);
    }
    if (count)
        sem_post(&wake);

    void* outBuf = jack_port_get_buffer(link->out, frames);
    jack_midi_clear_buffer(outBuf);
    std::uint32_t size = 0;
    while (jack_ringbuffer_peek(link->outgoing, reinterpret_cast<char*>(&size), sizeof size) ==
               sizeof size &&
           jack_ringbuffer_read_space(link->outgoing) >= sizeof size + size) {
        jack_midi_data_t* dst = jack_midi_event_reserve(outBuf, 0, size);
        if (!dst)
            break;  // port buffer full: the rest goes next cycle
        jack_ringbuffer_read_advance(link->outgoing, sizeof size);
        jack_ringbuffer_read(link->outgoing, reinterpret_cast<char*>(dst), size);
    }
    return 0;
}

void OnShutdown(void*) {
    serverGone = true;
    sem_post(&wake);
}

void OnSignal(int sig) {
    if (sig == SIGUSR1)
        saveRequested = true;
    else
        stopRequested = true;
    sem_post(&wake);
}

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string Slot(int bank, int program) {
    char s[16];
    std::snprintf(s, sizeof s, "%c-%03d", 'A' + bank, program + 1);
    return s;
}

struct Reply {
    Clock::time_point due;
    std::string bytes;
};

class Synth {
public:
    Synth(const Options& options, sim::SimMemory& memory) : o_(options), memory_(memory) {}

    // One complete SysEx message from the input port. Returns false when the synth vanishes.
    bool handle(const std::string& msg) {
        if (auto request = sim::SimMemory::ParseRequest(msg)) {
            const auto [bank, program] = *request;
            ++requests_;
            Say("request " +
                (bank < sim::kBanks && program < sim::kPrograms ? Slot(bank, program) : "?"));
            if (o_.vanishAfter >= 0 && requests_ > o_.vanishAfter)
                return false;
            if (bank >= sim::kBanks || program >= sim::kPrograms || o_.fault == Fault::Silent)
                return true;
            std::string reply = memory_.at(bank, program);
            int delay = o_.latencyMs;
            switch (o_.fault) {
                case Fault::Late:
                    delay = o_.lateMs;
                    break;
                case Fault::Short:
                    reply.erase(reply.size() - 2, 1);  // 290 bytes, still ending in F7
                    break;
                case Fault::Long:
                    reply.insert(reply.size() - 1, 40, '\x01');  // 331 bytes
                    break;
                case Fault::Range:
                    reply[8] = static_cast<char>(sim::kBanks);
                    break;
                case Fault::OtherSlot:
                    reply = memory_.at(bank, (program + 1) % sim::kPrograms);
                    break;
                default:
                    break;
            }
            replies_.push_back({Clock::now() + std::chrono::milliseconds(delay), std::move(reply)});
            return true;
        }
        if (memory_.store(msg))
            Say("stored " + Slot(msg[8], msg[9]));
        else
            Say("ignored " + std::to_string(msg.size()) + " bytes");
        return true;
    }

    // Hands replies that are due to the JACK thread; returns the time of the next one.
    std::optional<Clock::time_point> flush(Link& link) {
        while (!replies_.empty() && replies_.front().due <= Clock::now()) {
            const std::string& r = replies_.front().bytes;
            const auto size = static_cast<std::uint32_t>(r.size());
            if (jack_ringbuffer_write_space(link.outgoing) < sizeof size + size)
                return Clock::now() + std::chrono::milliseconds(1);
            jack_ringbuffer_write(link.outgoing, reinterpret_cast<const char*>(&size), sizeof size);
            jack_ringbuffer_write(link.outgoing, r.data(), size);
            replies_.pop_front();
        }
        if (replies_.empty())
            return std::nullopt;
        return replies_.front().due;
    }

private:
    const Options& o_;
    sim::SimMemory& memory_;
    long requests_ = 0;
    std::deque<Reply> replies_;  // latencies are equal, so due times stay in order
};

void WaitForWork(std::optional<Clock::time_point> next) {
    auto wait = std::chrono::milliseconds(100);
    if (next) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(*next - Clock::now());
        if (left.count() <= 0)
            return;
        wait = std::min(wait, std::chrono::duration_cast<std::chrono::milliseconds>(left) +
                                  std::chrono::milliseconds(1));
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const long long ns =
        ts.tv_nsec + std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    ts.tv_sec += static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    while (sem_timedwait(&wake, &ts) == -1 && errno == EINTR) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    sim::SimMemory memory;
    if (!o.syx.empty() && !memory.load(o.syx)) {
        std::fprintf(stderr, "deepmind-sim: cannot read %s\n", o.syx.c_str());
        return 1;
    }

    sem_init(&wake, 0, 0);
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

    Link link;
    link.client = jack_client_open(o.client.c_str(), JackNoStartServer, nullptr);
    if (!link.client) {
        std::fputs("deepmind-sim: no JACK server\n", stderr);
        return 1;
    }
    link.incoming = jack_ringbuffer_create(1 << 17);
    link.outgoing = jack_ringbuffer_create(1 << 17);
    const std::string base = o.client + " MIDI ";
    link.in = jack_port_register(link.client, (base + "in").c_str(), JACK_DEFAULT_MIDI_TYPE,
                                 JackPortIsInput, 0);
    link.out = jack_port_register(link.client, (base + "out").c_str(), JACK_DEFAULT_MIDI_TYPE,
                                  JackPortIsOutput, 0);
    jack_set_process_callback(link.client, &Process, &link);
    jack_on_shutdown(link.client, &OnShutdown, nullptr);
    if (!link.in || !link.out || jack_activate(link.client) != 0) {
        std::fputs("deepmind-sim: cannot make ports\n", stderr);
        jack_client_close(link.client);
        return 1;
    }
    Say("ready");

    Synth synth(o, memory);
    std::string pending;
    bool inSysex = false;
    bool vanished = false;
    std::optional<Clock::time_point> next;
    while (!stopRequested && !serverGone && !vanished) {
        WaitForWork(next);
        std::uint32_t size = 0;
        while (!vanished && jack_ringbuffer_read_space(link.incoming) >= sizeof size) {
            jack_ringbuffer_read(link.incoming, reinterpret_cast<char*>(&size), sizeof size);
            std::string event(size, '\0');
            jack_ringbuffer_read(link.incoming, event.data(), size);
            if (event.empty())
                continue;
            const auto first = static_cast<unsigned char>(event.front());
            if (first == 0xF0) {
                pending = event;
                inSysex = true;
            } else if (inSysex && (first < 0x80 || first == 0xF7)) {
                pending += event;  // a SysEx cut into chunks on the way
            } else {
                continue;
            }
            if (static_cast<unsigned char>(pending.back()) == 0xF7) {
                inSysex = false;
                vanished = !synth.handle(pending);
            }
        }
        next = synth.flush(link);
        if (saveRequested.exchange(false) && !o.save.empty() && memory.save(o.save))
            Say("saved");
    }
    if (!serverGone) {
        jack_deactivate(link.client);
        jack_client_close(link.client);
    }
    if (vanished)
        Say("vanished");
    if (link.droppedIn)
        std::fprintf(stderr, "deepmind-sim: %u incoming events dropped\n", link.droppedIn.load());
    if (!o.save.empty() && memory.save(o.save))
        Say("saved");
    jack_ringbuffer_free(link.incoming);
    jack_ringbuffer_free(link.outgoing);
    return 0;
}
