#include "midi/RtMidiBackend.h"

#include <unistd.h>
#include <algorithm>

#include "midi/JackSupport.h"

#if ZANQ_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace zanq {

struct RtMidiBackend::Api {
    RtMidi::Api kind;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    // The JACK clients RtMidi opened for in and out (null on other APIs).
    void* inClient = nullptr;
    void* outClient = nullptr;

    RtMidi& of(bool outputs) { return outputs ? static_cast<RtMidi&>(*out) : *in; }
    void* clientOf(bool outputs) const { return outputs ? outClient : inClient; }
};

namespace {

// Cycles to let pass after a JACK connection is made: the second begins after the graph that
// holds it took over; one more for a server that switches late. About 16 ms at 256 frames.
constexpr int kCyclesBeforeUse = 3;
// Beyond this, a server so slow would not carry the message anyway.
constexpr int kCycleWaitMs = 500;

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
    SilenceJack();
}

RtMidiBackend::~RtMidiBackend() {
    // Closing the RtMidi objects closes their ports and JACK clients; stop the clients' process
    // callbacks first (see ClosePortSafely).
    for (auto& a : apis_) {
        StopJackClient(a->inClient);
        StopJackClient(a->outClient);
    }
    apis_.clear();
}

void RtMidiBackend::setReceiver(Receiver receiver) {
    receiver_ = std::move(receiver);
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
    if (backend->receiver_ && message && !message->empty())
        backend->receiver_(
            std::string_view(reinterpret_cast<const char*>(message->data()), message->size()));
}

void RtMidiBackend::startApis() {
    const auto has = [this](RtMidi::Api kind) {
        return std::any_of(apis_.begin(), apis_.end(),
                           [kind](const auto& a) { return a->kind == kind; });
    };
    std::vector<RtMidi::Api> wanted;
#if defined(__linux__)
    if (jack_->takeServerGone()) {
        // Drop everything that belonged to the server that went away, then look for a new one.
        for (Connection* c : {&out_, &in_})
            if (c->valid && c->api == RtMidi::UNIX_JACK)
                c->valid = false;
        std::erase_if(apis_, [](const auto& a) { return a->kind == RtMidi::UNIX_JACK; });
    }
#if ZANQ_HAVE_ALSA
    if (!has(RtMidi::LINUX_ALSA) && AlsaSequencerStarts())
        wanted.push_back(RtMidi::LINUX_ALSA);
#endif
    if (!has(RtMidi::UNIX_JACK) && jack_->start(clientName_))
        wanted.push_back(RtMidi::UNIX_JACK);
#else
    if (apis_.empty())
        wanted.push_back(RtMidi::UNSPECIFIED);
#endif
    for (RtMidi::Api kind : wanted) {
        auto api = std::make_unique<Api>();
        api->kind = kind;
        try {
            TakeLastOpenedJackClient();
            api->in = std::make_unique<RtMidiIn>(kind, clientName_, 100);
            api->inClient = TakeLastOpenedJackClient();
            api->in->setErrorCallback(&RtMidiBackend::errorCallback, this);
            api->in->ignoreTypes(false, true, true);
            api->in->setCallback(&RtMidiBackend::inputCallback, this);
            api->out = std::make_unique<RtMidiOut>(kind, clientName_);
            api->outClient = TakeLastOpenedJackClient();
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
    for (const auto& api : apis_) {
        RtMidi& midi = api->of(outputs);
        const unsigned count = midi.getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            std::string name = midi.getPortName(i);
            if (name.empty() || name.rfind(clientName_, 0) == 0)
                continue;  // our own ports are never the synthesizer
            ports.push_back({static_cast<std::size_t>(api->kind), i, std::move(name)});
        }
    }
    std::lock_guard lock(errorMutex_);
    pendingError_.clear();  // a port that vanished between count and name is no error
    return ports;
}

std::vector<std::string> RtMidiBackend::outputNames() {
    std::vector<std::string> names;
    for (auto& p : listPorts(true))
        names.push_back(std::move(p.name));
    return names;
}

std::vector<std::string> RtMidiBackend::inputNames() {
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

std::string RtMidiBackend::takeError(const std::string& fallback) {
    std::lock_guard lock(errorMutex_);
    std::string text;
    text.swap(pendingError_);
    return text.empty() ? fallback : text;
}

bool RtMidiBackend::stillConnected(const Connection& c, const std::string& ownPort) const {
    if (c.api == RtMidi::UNIX_JACK)
        return !jack_->serverGone() && jack_->connected(c.target, ownPort);
    return true;  // the target's name is still in the fresh port list
}

void RtMidiBackend::closeConnection(bool outputs) {
    for (auto& a : apis_)
        if (a->of(outputs).isPortOpen())
            ClosePortSafely(a->of(outputs), a->clientOf(outputs));
    (outputs ? out_ : in_).valid = false;
}

MidiResult RtMidiBackend::connect(bool outputs, const std::string& port) {
    const MidiStep step = outputs ? MidiStep::OutputOpen : MidiStep::InputOpen;
    const std::string direction = outputs ? "output" : "input";
    Connection& connection = outputs ? out_ : in_;
    const std::string& ownPort = outputs ? outPortName_ : inPortName_;
    // A live JACK connection to the port of that name needs no fresh list: the connection
    // check finds the port itself. Elsewhere only the list tells that a port has gone.
    if (persistent_ && connection.valid && connection.api == RtMidi::UNIX_JACK && !port.empty() &&
        connection.target == port && stillConnected(connection, ownPort))
        return {};
    const auto ports = listPorts(outputs);
    const auto target = port.empty()
                            ? ports.begin()
                            : std::find_if(ports.begin(), ports.end(),
                                           [&](const PortRef& p) { return p.name == port; });
    if (target == ports.end())
        return MidiError{
            step, port.empty() ? "There is no MIDI " + direction + " port."
                               : "There is no MIDI " + direction + " port named \"" + port + "\"."};
    if (persistent_ && connection.valid && connection.api == target->api &&
        connection.target == target->name && stillConnected(connection, ownPort))
        return {};
    closeConnection(outputs);
    Api& api = **std::find_if(apis_.begin(), apis_.end(), [&](const auto& a) {
        return a->kind == static_cast<RtMidi::Api>(target->api);
    });
    RtMidi& midi = api.of(outputs);
    onError({});
    midi.openPort(target->index, ownPort);
    if (std::string text = takeError({}); !midi.isPortOpen() || !text.empty()) {
        if (midi.isPortOpen())
            ClosePortSafely(midi, api.clientOf(outputs));
        return MidiError{
            step, text.empty() ? "The MIDI " + direction + " port could not be opened." : text};
    }
    connection = {true, target->api, target->name};
    // A JACK connection carries messages only from a later cycle on: the first patch after a
    // (re)connection would otherwise be lost now and then.
    if (target->api == RtMidi::UNIX_JACK)
        jack_->awaitCycles(kCyclesBeforeUse, kCycleWaitMs);
    return {};
}

MidiResult RtMidiBackend::send(const std::string& port, std::string_view message) {
    if (MidiResult failed = connect(true, port))
        return failed;
    auto api = std::find_if(apis_.begin(), apis_.end(), [&](const auto& a) {
        return a->kind == static_cast<RtMidi::Api>(out_.api);
    });
    onError({});
    (*api)->out->sendMessage(reinterpret_cast<const unsigned char*>(message.data()),
                             message.size());
    MidiResult result;
    if (std::string text = takeError({}); !text.empty()) {
        result = MidiError{MidiStep::OutputSend, std::move(text)};
        out_.valid = false;  // connect afresh before the next message
    }
    if (!persistent_)
        closeConnection(true);
    return result;
}

MidiResult RtMidiBackend::openInput(const std::string& port) {
    return connect(false, port);
}

MidiResult RtMidiBackend::closeInput() {
    if (!persistent_)
        closeConnection(false);
    return {};
}

}  // namespace zanq
