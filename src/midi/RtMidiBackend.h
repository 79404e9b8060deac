#pragma once
// The MIDI ports through RtMidi. On Linux the port list is the ports of every RtMidi API that
// starts, ALSA sequencer first, then JACK; elsewhere the platform's own API. An API that cannot
// start adds no ports and says nothing. The librarian's own ports are left out of the lists.
//
// Where ports are shared (ALSA, JACK, CoreMIDI) the connections to the chosen ports stay open
// between messages, and opening or closing a port only opens or closes the capture window:
// closing a JACK port right after a send can crash inside RtMidi, and every real open or close
// costs a JACK cycle. A connection is made again when the chosen port changes, has gone away,
// or a send failed. On Windows, where a port belongs to one program at a time, the port is
// really opened and closed around each message.

#include <RtMidi.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"

namespace zanq {

class RtMidiBackend : public MidiBackend {
public:
    // Every client and port this program makes is named from clientName, which must not
    // contain the synthesizer's name.
    explicit RtMidiBackend(std::string clientName = "ZANQ Librarian");
    ~RtMidiBackend() override;
    RtMidiBackend(const RtMidiBackend&) = delete;
    RtMidiBackend& operator=(const RtMidiBackend&) = delete;

    std::vector<std::string> outputPortNames() override;
    std::vector<std::string> inputPortNames() override;
    MidiCode openOutput(std::uint32_t port) override;
    MidiCode prepareOutputHeader() override { return 0; }
    MidiCode sendLongMessage(std::string_view message) override;
    MidiCode unprepareOutputHeader() override { return 0; }
    MidiCode closeOutput() override;
    MidiCode openInput(std::uint32_t port) override;
    MidiCode prepareInputHeader() override { return 0; }
    MidiCode addInputBuffer(SysexCapture& capture) override;
    MidiCode startInput() override;
    MidiCode resetInput() override;
    MidiCode unprepareInputHeader() override { return 0; }
    MidiCode closeInput() override;
    std::string errorText(MidiCode code) override;

    // Names of the APIs that are running now, in listing order (for the benchmarks and tests).
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
    MidiCode fail(std::string text);
    MidiCode takeError(const std::string& fallback);
    bool hasPendingError();
    void closeOutputConnection();
    void closeInputConnection();
    // Connects one direction to port number `port` of its list, or keeps a live connection.
    template <typename Midi>
    MidiCode openConnection(bool outputs, std::uint32_t port, Connection& connection,
                            const std::string& ownPort, std::unique_ptr<Midi> Api::*midi,
                            void* Api::*client);
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

    std::mutex errorMutex_;
    std::string pendingError_;
    std::vector<std::string> errorTexts_;

    std::mutex captureMutex_;
    SysexCapture* capture_ = nullptr;

    struct JackWatch;
    std::unique_ptr<JackWatch> jack_;
};

}  // namespace zanq
