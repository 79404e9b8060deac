#include "midi/RtMidiBackend.h"

#include <unistd.h>
#include <algorithm>
#include <cstdarg>
#include <cstdlib>

#include "midi/SysexCapture.h"

#if ZANQ_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#if ZANQ_HAVE_JACK
#include <jack/jack.h>
#endif

namespace zanq {

struct RtMidiBackend::Api {
    RtMidi::Api kind;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    // The JACK clients RtMidi opened for in and out (null on other APIs).
    void* inClient = nullptr;
    void* outClient = nullptr;
};

// A JACK client of our own that has no ports: it tells whether a server runs, notices when the
// server goes away, and looks at port connections, which RtMidi does not show.
struct RtMidiBackend::JackWatch {
#if ZANQ_HAVE_JACK
    jack_client_t* client = nullptr;
    std::atomic<bool> gone{false};
#endif
};

namespace {

#if ZANQ_HAVE_JACK
// RtMidi 5.0 unregisters a JACK port while its client is still active, racing its own process
// callback: now and then the callback touches the freed port and the program dies inside
// libjack. RtMidi keeps its clients to itself, so the program learns each one as it is opened
// (the executable's jack_client_open stands in front of libjack's) and deactivates it around
// every port close.
std::atomic<jack_client_t*> lastOpenedClient{nullptr};

void* TakeLastOpenedClient() {
    return lastOpenedClient.exchange(nullptr);
}

// Closes a port of RtMidi's with its client's process callback stopped meanwhile.
template <typename Midi>
void ClosePortSafely(Midi& midi, void* client) {
    auto* jack = static_cast<jack_client_t*>(client);
    if (jack)
        jack_deactivate(jack);
    midi.closePort();
    if (jack)
        jack_activate(jack);
}
#else
void* TakeLastOpenedClient() {
    return nullptr;
}
template <typename Midi>
void ClosePortSafely(Midi& midi, void*) {
    midi.closePort();
}
#endif

int ApiRank(RtMidi::Api kind) {
    switch (kind) {
        case RtMidi::LINUX_ALSA:
            return 0;
        case RtMidi::UNIX_JACK:
            return 1;
        default:
            return 2;
    }
}

#if ZANQ_HAVE_ALSA
void SilentAlsa(const char*, int, const char*, int, const char*, ...) {}

// RtMidi prints to stderr before it throws when the sequencer cannot be opened, so the
// sequencer is tried quietly first.
bool AlsaSequencerStarts() {
    snd_lib_error_set_handler(&SilentAlsa);
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return false;
    snd_seq_close(seq);
    return true;
}
#endif

#if ZANQ_HAVE_JACK
void SilentJack(const char*) {}

// libjack takes several milliseconds to find out that no server runs, too long for every
// timer tick. A server leaves its socket in /dev/shm (jackd2: jack_<server>_<uid>_0; jackd1:
// the folder jack-<uid>), so their absence settles it at once.
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
#endif

}  // namespace

RtMidiBackend::RtMidiBackend(std::string clientName)
    : clientName_(std::move(clientName)), jack_(std::make_unique<JackWatch>()) {
    const std::string pid = std::to_string(::getpid());
    // The process id keeps our port names apart from another copy of the program.
    outPortName_ = "SysEx out " + pid;
    inPortName_ = "SysEx in " + pid;
#if defined(_WIN32)
    persistent_ = false;
#endif
#if ZANQ_HAVE_JACK
    jack_set_error_function(&SilentJack);
    jack_set_info_function(&SilentJack);
#endif
}

RtMidiBackend::~RtMidiBackend() {
    {
        std::lock_guard lock(captureMutex_);
        capture_ = nullptr;
    }
    // Closing the RtMidi objects closes their ports and JACK clients; stop the clients' process
    // callbacks first (see ClosePortSafely).
#if ZANQ_HAVE_JACK
    for (auto& a : apis_)
        for (void* client : {a->inClient, a->outClient})
            if (client)
                jack_deactivate(static_cast<jack_client_t*>(client));
#endif
    apis_.clear();
#if ZANQ_HAVE_JACK
    if (jack_->client)
        jack_client_close(jack_->client);
#endif
}

void RtMidiBackend::errorCallback(RtMidiError::Type, const std::string& text, void* self) {
    static_cast<RtMidiBackend*>(self)->onError(text);
}

void RtMidiBackend::onError(const std::string& text) {
    std::lock_guard lock(errorMutex_);
    pendingError_ = text;
}

void RtMidiBackend::inputCallback(double, std::vector<unsigned char>* message, void* self) {
    auto* backend = static_cast<RtMidiBackend*>(self);
    std::lock_guard lock(backend->captureMutex_);
    if (backend->capture_ && message && !message->empty())
        backend->capture_->deliver(
            std::string_view(reinterpret_cast<const char*>(message->data()), message->size()));
}

void RtMidiBackend::startApis() {
    const auto has = [this](RtMidi::Api kind) {
        return std::any_of(apis_.begin(), apis_.end(),
                           [kind](const auto& a) { return a->kind == kind; });
    };
    std::vector<RtMidi::Api> wanted;
#if defined(__linux__)
#if ZANQ_HAVE_JACK
    if (jack_->client && jack_->gone.load()) {
        // The server went away: drop everything that belonged to it and look for a new one.
        if (out_.valid && out_.api == RtMidi::UNIX_JACK)
            out_.valid = false;
        if (in_.valid && in_.api == RtMidi::UNIX_JACK)
            in_.valid = false;
        std::erase_if(apis_, [](const auto& a) { return a->kind == RtMidi::UNIX_JACK; });
        jack_client_close(jack_->client);
        jack_->client = nullptr;
        jack_->gone = false;
    }
#endif
#if ZANQ_HAVE_ALSA
    if (!has(RtMidi::LINUX_ALSA) && AlsaSequencerStarts())
        wanted.push_back(RtMidi::LINUX_ALSA);
#endif
#if ZANQ_HAVE_JACK
    if (!has(RtMidi::UNIX_JACK)) {
        // JackNoStartServer: never starts a server of its own.
        if (JackServerMayRun())
            jack_->client = jack_client_open(clientName_.c_str(), JackNoStartServer, nullptr);
        if (jack_->client) {
            jack_on_shutdown(
                jack_->client, [](void* arg) { static_cast<JackWatch*>(arg)->gone = true; },
                jack_.get());
            wanted.push_back(RtMidi::UNIX_JACK);
        }
    }
#endif
#else
    if (apis_.empty())
        wanted.push_back(RtMidi::UNSPECIFIED);
#endif
    for (RtMidi::Api kind : wanted) {
        auto api = std::make_unique<Api>();
        api->kind = kind;
        try {
            TakeLastOpenedClient();
            api->in = std::make_unique<RtMidiIn>(kind, clientName_, 100);
            api->inClient = TakeLastOpenedClient();
            api->in->setErrorCallback(&RtMidiBackend::errorCallback, this);
            api->in->ignoreTypes(false, true, true);
            api->in->setCallback(&RtMidiBackend::inputCallback, this);
            api->out = std::make_unique<RtMidiOut>(kind, clientName_);
            api->outClient = TakeLastOpenedClient();
            api->out->setErrorCallback(&RtMidiBackend::errorCallback, this);
        } catch (const RtMidiError&) {
            continue;
        }
        if (kind == RtMidi::UNSPECIFIED)
            api->kind = api->out->getCurrentApi();
        apis_.push_back(std::move(api));
    }
    std::stable_sort(apis_.begin(), apis_.end(), [](const auto& a, const auto& b) {
        return ApiRank(a->kind) < ApiRank(b->kind);
    });
}

std::vector<RtMidiBackend::PortRef> RtMidiBackend::listPorts(bool outputs) {
    startApis();
    std::vector<PortRef> ports;
    for (std::size_t a = 0; a < apis_.size(); ++a) {
        RtMidi& midi = outputs ? static_cast<RtMidi&>(*apis_[a]->out) : *apis_[a]->in;
        const unsigned count = midi.getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            std::string name = midi.getPortName(i);
            if (name.empty() || name.rfind(clientName_, 0) == 0)
                continue;  // our own ports are never the synthesizer
            ports.push_back({static_cast<std::size_t>(apis_[a]->kind), i, std::move(name)});
        }
    }
    std::lock_guard lock(errorMutex_);
    pendingError_.clear();  // a port that vanished between count and name is no error
    return ports;
}

std::vector<std::string> RtMidiBackend::outputPortNames() {
    std::vector<std::string> names;
    for (auto& p : listPorts(true))
        names.push_back(std::move(p.name));
    return names;
}

std::vector<std::string> RtMidiBackend::inputPortNames() {
    std::vector<std::string> names;
    for (auto& p : listPorts(false))
        names.push_back(std::move(p.name));
    return names;
}

std::vector<std::string> RtMidiBackend::runningApis() const {
    std::vector<std::string> names;
    for (const auto& a : apis_)
        names.push_back(RtMidi::getApiName(a->kind));
    return names;
}

bool RtMidiBackend::hasPendingError() {
    std::lock_guard lock(errorMutex_);
    return !pendingError_.empty();
}

MidiCode RtMidiBackend::fail(std::string text) {
    errorTexts_.push_back(std::move(text));
    return static_cast<MidiCode>(errorTexts_.size());
}

MidiCode RtMidiBackend::takeError(const std::string& fallback) {
    std::string text;
    {
        std::lock_guard lock(errorMutex_);
        text.swap(pendingError_);
    }
    return fail(text.empty() ? fallback : text);
}

std::string RtMidiBackend::errorText(MidiCode code) {
    if (code == 0 || code > errorTexts_.size())
        return "Unknown MIDI error.";
    return errorTexts_[code - 1];
}

bool RtMidiBackend::stillConnected(const Connection& c, const std::string& ownPort) const {
#if ZANQ_HAVE_JACK
    if (c.api == RtMidi::UNIX_JACK && jack_->client) {
        jack_port_t* target = jack_port_by_name(jack_->client, c.target.c_str());
        if (!target)
            return false;
        const char** peers = jack_port_get_all_connections(jack_->client, target);
        bool found = false;
        const std::string suffix = ":" + ownPort;
        for (const char** p = peers; p && *p && !found; ++p) {
            const std::string_view peer(*p);
            found =
                peer.size() >= suffix.size() && peer.substr(peer.size() - suffix.size()) == suffix;
        }
        if (peers)
            jack_free(peers);
        return found;
    }
#endif
    (void)c;
    (void)ownPort;
    return true;  // the target's name is still in the fresh port list
}

void RtMidiBackend::closeOutputConnection() {
    for (auto& a : apis_)
        if (out_.valid && a->kind == static_cast<RtMidi::Api>(out_.api) && a->out->isPortOpen())
            ClosePortSafely(*a->out, a->outClient);
    out_.valid = false;
}

void RtMidiBackend::closeInputConnection() {
    for (auto& a : apis_)
        if (in_.valid && a->kind == static_cast<RtMidi::Api>(in_.api) && a->in->isPortOpen())
            ClosePortSafely(*a->in, a->inClient);
    in_.valid = false;
}

template <typename Midi>
MidiCode RtMidiBackend::openConnection(bool outputs, std::uint32_t port, Connection& connection,
                                       const std::string& ownPort,
                                       std::unique_ptr<Midi> Api::*midiOf, void* Api::*clientOf) {
    const char* direction = outputs ? "output" : "input";
    const auto ports = listPorts(outputs);
    if (port >= ports.size())
        return fail(std::string("There is no MIDI ") + direction + " port number " +
                    std::to_string(port) + ".");
    const PortRef& target = ports[port];
    if (persistent_ && connection.valid && connection.api == target.api &&
        connection.target == target.name && stillConnected(connection, ownPort))
        return 0;
    if (outputs)
        closeOutputConnection();
    else
        closeInputConnection();
    auto it = std::find_if(apis_.begin(), apis_.end(), [&](const auto& a) {
        return a->kind == static_cast<RtMidi::Api>(target.api);
    });
    Midi& midi = *((**it).*midiOf);
    onError({});
    midi.openPort(target.index, ownPort);
    if (!midi.isPortOpen() || hasPendingError()) {
        if (midi.isPortOpen())
            ClosePortSafely(midi, (**it).*clientOf);
        return takeError(std::string("The MIDI ") + direction + " port could not be opened.");
    }
    connection = {true, target.api, target.name};
    return 0;
}

MidiCode RtMidiBackend::openOutput(std::uint32_t port) {
    return openConnection(true, port, out_, outPortName_, &Api::out, &Api::outClient);
}

MidiCode RtMidiBackend::sendLongMessage(std::string_view message) {
    auto it = std::find_if(apis_.begin(), apis_.end(), [&](const auto& a) {
        return out_.valid && a->kind == static_cast<RtMidi::Api>(out_.api);
    });
    if (it == apis_.end())
        return fail("The MIDI output port is not open.");
    onError({});
    (*it)->out->sendMessage(reinterpret_cast<const unsigned char*>(message.data()), message.size());
    std::lock_guard lock(errorMutex_);
    if (pendingError_.empty())
        return 0;
    out_.valid = false;  // connect afresh before the next message
    std::string text;
    text.swap(pendingError_);
    errorTexts_.push_back(std::move(text));
    return static_cast<MidiCode>(errorTexts_.size());
}

MidiCode RtMidiBackend::closeOutput() {
    if (!persistent_)
        closeOutputConnection();
    return 0;
}

MidiCode RtMidiBackend::openInput(std::uint32_t port) {
    return openConnection(false, port, in_, inPortName_, &Api::in, &Api::inClient);
}

MidiCode RtMidiBackend::addInputBuffer(SysexCapture& capture) {
    std::lock_guard lock(captureMutex_);
    capture_ = &capture;
    return 0;
}

MidiCode RtMidiBackend::startInput() {
    std::lock_guard lock(captureMutex_);
    if (capture_)
        capture_->setAccepting(true);
    return 0;
}

MidiCode RtMidiBackend::resetInput() {
    std::lock_guard lock(captureMutex_);
    if (capture_)
        capture_->setAccepting(false);
    capture_ = nullptr;
    return 0;
}

MidiCode RtMidiBackend::closeInput() {
    if (!persistent_)
        closeInputConnection();
    return 0;
}

}  // namespace zanq

#if ZANQ_HAVE_JACK
#include <dlfcn.h>

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
