#pragma once
// What the RtMidi ports need to know about JACK that RtMidi does not tell: whether a server may
// run at all, when it goes away, which connections a port has, and which JACK client RtMidi
// opened for each of its objects. Without JACK support built in, every answer is "no JACK".

#include <RtMidi.h>

#include <atomic>
#include <string>

namespace zanq {

// A JACK client of our own that has no ports. It counts the server's process cycles, so that a
// new connection can be given time to carry messages: JACK makes a connection part of its
// graph at the start of a later cycle, and a message written out before that goes nowhere.
class JackWatch {
public:
    JackWatch() = default;
    ~JackWatch();
    JackWatch(const JackWatch&) = delete;
    JackWatch& operator=(const JackWatch&) = delete;

    // Opens the client unless one is open; never starts a server. True while one is open.
    bool start(const std::string& clientName);
    bool running() const;
    // True once when the server has gone away since start(); the client is closed then.
    bool takeServerGone();
    bool serverGone() const { return gone_.load(); }
    // Whether JACK port target is connected to a port of ours named ownPort.
    bool connected(const std::string& target, const std::string& ownPort) const;
    // Waits (at most timeoutMs) until count process cycles have begun since the call, so that
    // connections made before it carry messages; false if they did not.
    bool awaitCycles(int count, int timeoutMs);

private:
    static int process(unsigned frames, void* self);

    void* client_ = nullptr;
    std::atomic<bool> gone_{false};
    bool active_ = false;
    std::atomic<unsigned long long> cycles_{0};
    std::atomic<bool> waiting_{false};
    struct Tick;
    Tick* tick_ = nullptr;  // wakes a waiter on each cycle
};

// Silences libjack's own messages on stderr.
void SilenceJack();
// The JACK client opened last by anyone in the program (RtMidi included), taken once.
void* TakeLastOpenedJackClient();
// Stops a JACK client's process callback (null: none).
void StopJackClient(void* jackClient);
// Closes an RtMidi port with its JACK client (null: none) stopped meanwhile: RtMidi 5.0 frees
// a JACK port while its client's process callback may still touch it.
void ClosePortSafely(RtMidi& midi, void* jackClient);

}  // namespace zanq
