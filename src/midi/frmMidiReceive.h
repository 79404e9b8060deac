#pragma once
// MIDI Receive: fetches every program of the ticked banks from the synth by request and reply,
// storing each reply where it says, with the button naming the program under way. A request
// that brings back nothing at all stops the run with a message; what came in before stays.

#include <QString>
#include <optional>

#include "midi/BankRunDialog.h"
#include "model/StepScope.h"

namespace zanq {

class Librarian;
class MidiLink;
class Prompter;

// The message of a bank run whose request brought back nothing.
inline const QString kNoMidiDataMessage = QStringLiteral(
    "No Midi Data Received. Check RECORD is on, destination device: Set to accept Sysex data, "
    "Set to correct Midi Channel.");

class frmMidiReceive : public BankRunDialog {
    Q_OBJECT
public:
    frmMidiReceive(QWidget* parent, MidiLink& link, Librarian& librarian, Prompter& prompter);

    QPushButton* cmdMidiReceive = nullptr;

private:
    void cmdMidiReceive_Click();

    MidiLink& link_;
    Librarian& librarian_;
    Prompter& prompter_;
    std::optional<StepScope> step_;  // the whole run is one step to undo
};

}  // namespace zanq
