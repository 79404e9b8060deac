#include "midi/JackSupport.h"

#include <semaphore.h>
#include <unistd.h>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <string_view>

#if ZANQ_HAVE_JACK
#include <dlfcn.h>
#include <jack/jack.h>
#endif

namespace zanq {

#if ZANQ_HAVE_JACK

namespace {

std::atomic<jack_client_t*> lastOpenedClient{nullptr};

void Silent(const char*) {}

// libjack takes several milliseconds to find out that no server runs, too long for every
// detection run. A server leaves its socket in /dev/shm (jackd2: jack_<server>_<uid>_0;
// jackd1: the folder jack-<uid>), so their absence settles it at once.
bool JackServerMayRun() {
#if defined(__linux__)
    const char* server = std::getenv("JACK_DEFAULT_SERVER");
    const std::string name = server && *server ? server : "default";
    const std::string uid = std::to_string(::getuid());
    return ::access(("/dev/shm/jack_" + name + "_" + uid + "_0").c_str(), F_OK) == 0 ||
           ::access(("/dev/shm/jack-" + uid).c_str(), F_OK) == 0;
#else
    return true;
#endif
}

}  // namespace

struct JackWatch::Tick {
    sem_t semaphore;
    Tick() { sem_init(&semaphore, 0, 0); }
    ~Tick() { sem_destroy(&semaphore); }
};

JackWatch::~JackWatch() {
    if (client_)
        jack_client_close(static_cast<jack_client_t*>(client_));
    delete tick_;
}

int JackWatch::process(unsigned, void* self) {
    auto* watch = static_cast<JackWatch*>(self);
    watch->cycles_.fetch_add(1);
    if (watch->waiting_.load())
        sem_post(&watch->tick_->semaphore);
    return 0;
}

bool JackWatch::awaitCycles(int count, int timeoutMs) {
    if (!client_ || !active_ || gone_)
        return false;
    const unsigned long long target = cycles_.load() + static_cast<unsigned long long>(count);
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    const long long ns = deadline.tv_nsec + static_cast<long long>(timeoutMs) * 1000000;
    deadline.tv_sec += static_cast<time_t>(ns / 1000000000);
    deadline.tv_nsec = static_cast<long>(ns % 1000000000);
    waiting_ = true;
    while (cycles_.load() < target && !gone_)
        if (sem_timedwait(&tick_->semaphore, &deadline) == -1 && errno == ETIMEDOUT)
            break;
    waiting_ = false;
    while (sem_trywait(&tick_->semaphore) == 0) {
    }
    return cycles_.load() >= target;
}

bool JackWatch::start(const std::string& clientName) {
    if (client_ || !JackServerMayRun())
        return client_ != nullptr;
    auto* client = jack_client_open(clientName.c_str(), JackNoStartServer, nullptr);
    if (!client)
        return false;
    gone_ = false;
    jack_on_shutdown(
        client, [](void* gone) { static_cast<std::atomic<bool>*>(gone)->store(true); }, &gone_);
    if (!tick_)
        tick_ = new Tick;
    jack_set_process_callback(client, &JackWatch::process, this);
    active_ = jack_activate(client) == 0;
    client_ = client;
    return true;
}

bool JackWatch::running() const {
    return client_ != nullptr;
}

bool JackWatch::takeServerGone() {
    if (!client_ || !gone_.load())
        return false;
    jack_client_close(static_cast<jack_client_t*>(client_));
    client_ = nullptr;
    active_ = false;
    return true;
}

bool JackWatch::connected(const std::string& target, const std::string& ownPort) const {
    auto* client = static_cast<jack_client_t*>(client_);
    if (!client)
        return false;
    jack_port_t* port = jack_port_by_name(client, target.c_str());
    if (!port)
        return false;
    const char** peers = jack_port_get_all_connections(client, port);
    bool found = false;
    const std::string suffix = ":" + ownPort;
    for (const char** p = peers; p && *p && !found; ++p) {
        const std::string_view peer(*p);
        found = peer.size() >= suffix.size() && peer.substr(peer.size() - suffix.size()) == suffix;
    }
    if (peers)
        jack_free(peers);
    return found;
}

void SilenceJack() {
    jack_set_error_function(&Silent);
    jack_set_info_function(&Silent);
}

void* TakeLastOpenedJackClient() {
    return lastOpenedClient.exchange(nullptr);
}

void StopJackClient(void* jackClient) {
    if (jackClient)
        jack_deactivate(static_cast<jack_client_t*>(jackClient));
}

void ClosePortSafely(RtMidi& midi, void* jackClient) {
    auto* client = static_cast<jack_client_t*>(jackClient);
    if (client)
        jack_deactivate(client);
    midi.closePort();
    if (client)
        jack_activate(client);
}

#else

JackWatch::~JackWatch() = default;
bool JackWatch::start(const std::string&) {
    return false;
}
bool JackWatch::running() const {
    return false;
}
bool JackWatch::takeServerGone() {
    return false;
}
bool JackWatch::connected(const std::string&, const std::string&) const {
    return false;
}
bool JackWatch::awaitCycles(int, int) {
    return false;
}
void SilenceJack() {}
void* TakeLastOpenedJackClient() {
    return nullptr;
}
void StopJackClient(void*) {}
void ClosePortSafely(RtMidi& midi, void*) {
    midi.closePort();
}

#endif

}  // namespace zanq

#if ZANQ_HAVE_JACK
// Stands in front of libjack's jack_client_open for every caller in the process (RtMidi
// included) and notes the client it opened; see ClosePortSafely.
extern "C" jack_client_t* jack_client_open(const char* name, jack_options_t options,
                                           jack_status_t* status, ...) {
    using Open = jack_client_t* (*)(const char*, jack_options_t, jack_status_t*, ...);
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "jack_client_open"));
    jack_client_t* client = nullptr;
    if (options & JackServerName) {
        va_list rest;
        va_start(rest, status);
        const char* server = va_arg(rest, const char*);
        va_end(rest);
        client = real(name, options, status, server);
    } else {
        client = real(name, options, status);
    }
    zanq::lastOpenedClient = client;
    return client;
}
#endif
