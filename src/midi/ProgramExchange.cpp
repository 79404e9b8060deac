#include "midi/ProgramExchange.h"

#include <QCoreApplication>

#include "midi/modMIDI.h"
#include "midi/modSleep.h"
#include "model/Librarian.h"

namespace zanq {

std::string ProgramDumpRequest(int bank, int program) {
    std::string request("\xF0\x00\x20\x32\x20\x00\x01\x00\x00\xF7", 10);
    request[7] = static_cast<char>(bank);
    request[8] = static_cast<char>(program);
    return request;
}

ProgramExchange::ProgramExchange(modMIDI& midi, Librarian& librarian, std::function<void()> pump)
    : midi_(midi), librarian_(librarian), pump_(std::move(pump)) {
    if (!pump_)
        pump_ = [] { QCoreApplication::processEvents(); };
}

int ProgramExchange::Exchange(int bankNumber, int slot) {
    busy_ = true;
    midi_.OpenMidiIn();
    pump_();
    RequestProgram(bankNumber - 1, slot - 1);
    const int outcome = ReceiveProgram();
    midi_.CloseMidiInIfOpen();
    busy_ = false;
    return outcome;
}

void ProgramExchange::RequestProgram(int bank, int program) {
    midi_.SendSysex(ProgramDumpRequest(bank, program));
}

int ProgramExchange::ReceiveProgram() {
    // The synth answers one request with one message: once its F7 is in, nothing more is
    // awaited. Events keep running meanwhile, so the window never freezes.
    WaitUntil(
        kReplyWaitMs, [this] { return midi_.SysexComplete(); }, pump_);
    const std::string reply = midi_.MidiInBuffer();
    if (reply.empty())
        return kNothingReceived;
    librarian_.storeReceived(reply);
    return kReceived;
}

}  // namespace zanq
