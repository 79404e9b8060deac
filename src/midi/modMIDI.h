#pragma once
// The MIDI port layer: the program's only road to MIDI ports. It keeps the port numbers chosen
// by detection and the open flags, sends one SysEx message at a time, lends the 300-byte input
// buffer for one exchange, and shows one message for every step that fails, naming the step.
// One instance lives for the whole program; main() creates it and hands it round.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "midi/MidiBackend.h"
#include "midi/SysexCapture.h"

class QWidget;

namespace zanq {

class Prompter;

class modMIDI {
public:
    static constexpr std::int16_t kOpen = -1;
    static constexpr std::int16_t kClosed = 0;
    // Longest message the layer hands over; records are 291 bytes, requests 10.
    static constexpr std::size_t kMaxMessage = 300;

    modMIDI(MidiBackend& backend, Prompter& prompter);
    ~modMIDI();
    modMIDI(const modMIDI&) = delete;
    modMIDI& operator=(const modMIDI&) = delete;

    // The window that owns the error messages.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    MidiBackend& backend() { return backend_; }

    std::uint32_t MidiOutDevice() const { return outDevice_; }
    std::uint32_t MidiInDevice() const { return inDevice_; }
    void SetMidiOutDevice(std::uint32_t port) { outDevice_ = port; }
    void SetMidiInDevice(std::uint32_t port) { inDevice_ = port; }
    std::int16_t MidiOutIsOpen() const { return outOpen_; }
    std::int16_t MidiInIsOpen() const { return inOpen_; }

    // Opens the output port, sends the message whole, closes the port. Messages longer than
    // kMaxMessage are refused without a word: nothing in the program builds one. False when
    // the output port did not open (or the message was refused), so a run can stop there.
    bool SendSysex(std::string_view message);
    void SendLongMessage(std::string_view message);
    void CloseMidiOut();

    // Opens and starts the input port with the emptied buffer lent to it.
    void OpenMidiIn();
    void CloseMidiIn();
    void CloseMidiInIfOpen();

    // "Operation: " + operation + CR LF + the platform's text for the code, with OK only.
    void ReportMidiError(const QString& operation, MidiCode code);

    // On closing the program: closes what is still open and clears the flags whatever happens.
    void Shutdown();

    // What the input buffer caught since the last OpenMidiIn.
    std::uint32_t BytesRecorded() const { return capture_.bytesRecorded(); }
    std::string MidiInBuffer() const { return capture_.caught(); }
    // True as soon as a whole SysEx message (its F7) or 300 bytes have been caught since the
    // last OpenMidiIn. Safe to ask while the port's thread writes.
    bool SysexComplete() const { return capture_.complete(); }

private:
    MidiBackend& backend_;
    Prompter& prompter_;
    QWidget* parent_ = nullptr;
    std::uint32_t outDevice_ = 0;
    std::uint32_t inDevice_ = 0;
    std::int16_t outOpen_ = kClosed;
    std::int16_t inOpen_ = kClosed;
    std::string outBuffer_;
    SysexCapture capture_;
};

}  // namespace zanq
