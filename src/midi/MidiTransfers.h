#pragma once
// Sending and receiving patches from the main window: MIDI OUT opens Midi Bank Send, MIDI IN
// opens MIDI Receive, a grid patch dropped on MIDI OUT goes to the synth after a question, and
// a double click on the grid fetches an empty slot from the synth or hands a filled one to the
// Export window.

#include <QObject>
#include <functional>
#include <memory>

#include "model/Slot.h"

class QModelIndex;

namespace zanq {

class ProgramExchange;
class frmMain;
struct AppContext;

class MidiTransfers : public QObject {
    Q_OBJECT
public:
    MidiTransfers(frmMain& window, AppContext& context);
    ~MidiTransfers() override;

    void cmdMIDI_OUT_clicked();
    void cmdMIDI_IN_clicked();
    // Asks, then sends the record of a grid slot.
    void SendGridPatch(Slot slot);
    void FlexGrid1_doubleClicked(Slot slot);

    // Opens the Export window for a filled grid slot; the Export subsystem fills it in.
    std::function<void(Slot slot)> exportGridPatch;

private:
    frmMain& window_;
    AppContext& context_;
    std::unique_ptr<ProgramExchange> exchange_;
};

// The transfers object InstallMidiTransfers made for this window, or nullptr.
MidiTransfers* FindMidiTransfers(frmMain& window);

void InstallMidiTransfers(frmMain& window, AppContext& context);

}  // namespace zanq
