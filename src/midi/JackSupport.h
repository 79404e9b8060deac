#pragma once
// What the RtMidi ports need to know about JACK that RtMidi does not tell: whether a server may
// run at all, when it goes away, which connections a port has, and which JACK client RtMidi
// opened for each of its objects. Without JACK support built in, every answer is "no JACK".

#include <RtMidi.h>

#include <atomic>
#include <string>

namespace zanq {

// A JACK client of our own that has no ports.
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

private:
    void* client_ = nullptr;
    std::atomic<bool> gone_{false};
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
