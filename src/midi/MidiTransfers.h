#pragma once
// Sending and receiving patches from the main window: MIDI OUT opens Midi Bank Send, MIDI IN
// opens MIDI Receive, a grid patch dropped on MIDI OUT goes to the synth after a question, and
// a double click on an empty grid slot fetches it from the synth.

#include <QObject>

#include "model/Slot.h"
#include "shell/DragSource.h"

namespace zanq {

class ProgramExchange;
class frmMain;
struct AppContext;

class MidiTransfers : public QObject {
    Q_OBJECT
public:
    MidiTransfers(frmMain& window, AppContext& context);

    void cmdMIDI_OUT_clicked();
    void cmdMIDI_IN_clicked();
    // Asks, then sends the record of a grid slot.
    void SendGridPatch(Slot slot);
    // Only a grid patch is sent from here; library patches and files are not.
    void cmdMIDI_OUT_dropped(DragSource source);
    // Fetches the program of an empty slot.
    void FlexGrid1_doubleClicked(Slot slot);

private:
    frmMain& window_;
    AppContext& context_;
    ProgramExchange* exchange_ = nullptr;  // null without a MIDI link
};

void InstallMidiTransfers(frmMain& window, AppContext& context);

}  // namespace zanq
