#pragma once
// One request-and-reply exchange with the synth: the input port opens, a program dump request
// asks for one program, the reply is awaited and, when it has a record's form, stored in the
// Matrix at the slot the reply names itself. Used by the MIDI Receive window and by a double
// click on an empty grid slot.

#include <functional>
#include <string>
#include <string_view>

namespace zanq {

class Librarian;
class modMIDI;

// F0 00 20 32 20 00 01, bank (0..7), program (0..127), F7.
std::string ProgramDumpRequest(int bank, int program);

class ProgramExchange {
public:
    // The longest a reply is awaited; a whole SysEx message ends the wait sooner.
    static constexpr int kReplyWaitMs = 200;
    static constexpr int kReceived = 0;
    static constexpr int kNothingReceived = 1;

    // pump lets window events run (during the wait too); the default processes Qt's events.
    ProgramExchange(modMIDI& midi, Librarian& librarian, std::function<void()> pump = {});

    // Opens the input port, lets events run, requests (bankNumber - 1, slot - 1), receives,
    // closes the input port. kNothingReceived when not a single byte came.
    int Exchange(int bankNumber, int slot);
    void RequestProgram(int bank, int program);
    int ReceiveProgram();

    // True while an exchange runs: its wait lets events through, and the one input buffer
    // must not be lent twice.
    bool busy() const { return busy_; }
    Librarian& librarian() const { return librarian_; }

private:
    modMIDI& midi_;
    Librarian& librarian_;
    std::function<void()> pump_;
    bool busy_ = false;
};

}  // namespace zanq
