#pragma once
// MIDI Receive: fetches every program of the ticked banks from the synth by request and reply,
// storing each reply where it says. A request that brings back nothing at all stops the run
// with a message; what came in before stays.

#include <QString>

#include "midi/BankRunDialog.h"

namespace zanq {

class Prompter;
class ProgramExchange;

// The message of a bank run whose request brought back nothing.
inline const QString kNoMidiDataMessage = QStringLiteral(
    "No Midi Data Received. Check RECORD is on, destination device: Set to accept Sysex data, "
    "Set to correct Midi Channel.");

class frmMidiReceive : public BankRunDialog {
    Q_OBJECT
public:
    frmMidiReceive(QWidget* parent, ProgramExchange& exchange, Prompter& prompter);

    QPushButton* cmdMidiReceive = nullptr;

private:
    void cmdMidiReceive_Click();

    ProgramExchange& exchange_;
    Prompter& prompter_;
};

}  // namespace zanq
