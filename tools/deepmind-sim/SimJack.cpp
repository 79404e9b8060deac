#include "SimJack.h"

#include <jack/midiport.h>
#include <semaphore.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace sim {

namespace {

sem_t wakeSemaphore;

}  // namespace

void SimJack::prepare() {
    sem_init(&wakeSemaphore, 0, 0);
}

SimJack::~SimJack() {
    close();
    if (incoming_)
        jack_ringbuffer_free(incoming_);
    if (outgoing_)
        jack_ringbuffer_free(outgoing_);
}

bool SimJack::open(const std::string& client) {
    client_ = jack_client_open(client.c_str(), JackNoStartServer, nullptr);
    if (!client_) {
        std::fputs("deepmind-sim: no JACK server\n", stderr);
        return false;
    }
    incoming_ = jack_ringbuffer_create(1 << 17);
    outgoing_ = jack_ringbuffer_create(1 << 17);
    const std::string base = client + " MIDI ";
    in_ = jack_port_register(client_, (base + "in").c_str(), JACK_DEFAULT_MIDI_TYPE,
                             JackPortIsInput, 0);
    out_ = jack_port_register(client_, (base + "out").c_str(), JACK_DEFAULT_MIDI_TYPE,
                              JackPortIsOutput, 0);
    jack_set_process_callback(client_, &SimJack::process, this);
    jack_on_shutdown(client_, &SimJack::onShutdown, this);
    if (!in_ || !out_ || jack_activate(client_) != 0) {
        std::fputs("deepmind-sim: cannot make ports\n", stderr);
        jack_client_close(client_);
        client_ = nullptr;
        return false;
    }
    return true;
}

void SimJack::close() {
    if (!client_)
        return;
    if (!serverGone_) {
        jack_deactivate(client_);
        jack_client_close(client_);
    }
    client_ = nullptr;
}

int SimJack::process(jack_nframes_t frames, void* self) {
    auto* jack = static_cast<SimJack*>(self);
    void* inBuf = jack_port_get_buffer(jack->in_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(inBuf);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t ev;
        if (jack_midi_event_get(&ev, inBuf, i) != 0)
            continue;
        const auto size = static_cast<std::uint32_t>(ev.size);
        if (jack_ringbuffer_write_space(jack->incoming_) < sizeof size + size) {
            jack->droppedIn_.fetch_add(1);
            continue;
        }
        jack_ringbuffer_write(jack->incoming_, reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(jack->incoming_, reinterpret_cast<const char*>(ev.buffer), size);
    }
    if (count)
        wake();

    void* outBuf = jack_port_get_buffer(jack->out_, frames);
    jack_midi_clear_buffer(outBuf);
    std::uint32_t size = 0;
    while (jack_ringbuffer_peek(jack->outgoing_, reinterpret_cast<char*>(&size), sizeof size) ==
               sizeof size &&
           jack_ringbuffer_read_space(jack->outgoing_) >= sizeof size + size) {
        jack_midi_data_t* dst = jack_midi_event_reserve(outBuf, 0, size);
        if (!dst)
            break;  // port buffer full: the rest goes next cycle
        jack_ringbuffer_read_advance(jack->outgoing_, sizeof size);
        jack_ringbuffer_read(jack->outgoing_, reinterpret_cast<char*>(dst), size);
    }
    return 0;
}

void SimJack::onShutdown(void* self) {
    static_cast<SimJack*>(self)->serverGone_ = true;
    wake();
}

bool SimJack::takeEvent(std::string& event) {
    std::uint32_t size = 0;
    if (jack_ringbuffer_read_space(incoming_) < sizeof size)
        return false;
    jack_ringbuffer_read(incoming_, reinterpret_cast<char*>(&size), sizeof size);
    event.assign(size, '\0');
    jack_ringbuffer_read(incoming_, event.data(), size);
    return true;
}

bool SimJack::put(const std::string& message) {
    const auto size = static_cast<std::uint32_t>(message.size());
    if (jack_ringbuffer_write_space(outgoing_) < sizeof size + size)
        return false;
    jack_ringbuffer_write(outgoing_, reinterpret_cast<const char*>(&size), sizeof size);
    jack_ringbuffer_write(outgoing_, message.data(), size);
    return true;
}

void SimJack::wake() {
    sem_post(&wakeSemaphore);
}

void SimJack::waitForWork(std::optional<Clock::time_point> next) {
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
    while (sem_timedwait(&wakeSemaphore, &ts) == -1 && errno == EINTR) {
    }
}

}  // namespace sim
