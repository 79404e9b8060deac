#pragma once
// The MIDI ports through RtMidi. On Linux the port list is the ports of every RtMidi API that
// starts, ALSA sequencer first, then JACK; elsewhere the platform's own API. An API that cannot
// start adds no ports and says nothing. The librarian's own ports are left out of the lists.
//
// Where ports are shared (ALSA, JACK, CoreMIDI) the connections to the chosen ports stay open
// between messages: every real open or close costs a JACK cycle. A connection is made again
// when the chosen port changes, has gone away, or a send failed. On Windows, where a port
// belongs to one program at a time, the port is really opened and closed around each message.

#include <RtMidi.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MidiPorts.h"

namespace zanq {

class JackWatch;

class RtMidiBackend : public MidiPorts {
public:
    // Every client and port this program makes is named from clientName, which must not
    // contain the synthesizer's name.
    explicit RtMidiBackend(std::string clientName = "ZANQ Librarian");
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    void setReceiver(Receiver receiver) override;
    std::vector<std::string> outputNames() override;
    std::vector<std::string> inputNames() override;
    MidiResult send(const std::string& port, std::string_view message) override;
    MidiResult openInput(const std::string& port) override;
    MidiResult closeInput() override;

    // Names of the APIs that are running now, in listing order (for the benchmarks).
    std::vector<std::string> runningApis() const;

    struct Api;
    struct PortRef {
        std::size_t api;
        unsigned index;
        std::string name;
    };
    struct Connection {
        bool valid = false;
        std::size_t api = 0;
        std::string target;
    };

private:
    void startApis();
    std::vector<PortRef> listPorts(bool outputs);
    bool stillConnected(const Connection& c, const std::string& ownPort) const;
    std::string takeError(const std::string& fallback);
    void closeConnection(bool outputs);
    // Connects one direction to the port of that name, or keeps a live connection to it.
    MidiResult connect(bool outputs, const std::string& port);
    void onError(const std::string& text);
    static void errorCallback(RtMidiError::Type type, const std::string& text, void* self);
    static void inputCallback(double, std::vector<unsigned char>* message, void* self);

    std::string clientName_;
    std::string outPortName_;
    std::string inPortName_;
    bool persistent_ = true;
    std::vector<std::unique_ptr<Api>> apis_;
    Connection out_;
    Connection in_;
    Receiver receiver_;

    std::mutex errorMutex_;
    std::string pendingError_;

    std::unique_ptr<JackWatch> jack_;
};

}  // namespace zanq
