#pragma once
// The simulator's two JACK MIDI ports. JACK's process thread copies incoming events into one
// ring buffer and outgoing messages from another; the main thread sleeps on wake() until
// something came, a signal arrived or a reply is due.

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

namespace sim {

using Clock = std::chrono::steady_clock;

class SimJack {
public:
    ~SimJack();

    // Opens the client NAME with ports "NAME MIDI in" and "NAME MIDI out"; false on failure,
    // with the reason on stderr.
    bool open(const std::string& client);
    // Closes the client: its ports leave the server's lists.
    void close();

    // The next complete event from the input port; false when none waits.
    bool takeEvent(std::string& event);
    // Queues a message for the output port; false when the ring buffer has no room yet.
    bool put(const std::string& message);

    bool serverGone() const { return serverGone_.load(); }
    unsigned droppedIn() const { return droppedIn_.load(); }

    // Readies wake(); called once before any signal handler is installed.
    static void prepare();
    // Wakes the main thread from a signal handler or JACK's threads.
    static void wake();
    // Sleeps until woken, until next (if any) or for at most 100 ms.
    static void waitForWork(std::optional<Clock::time_point> next);

private:
    static int process(jack_nframes_t frames, void* self);
    static void onShutdown(void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_ringbuffer_t* incoming_ = nullptr;  // JACK thread -> main: size-prefixed events
    jack_ringbuffer_t* outgoing_ = nullptr;  // main -> JACK thread: size-prefixed messages
    std::atomic<unsigned> droppedIn_{0};
    std::atomic<bool> serverGone_{false};
};

}  // namespace sim
