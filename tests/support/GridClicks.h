#pragma once
// The main window with editing, the MIDI link, transfers and export installed over given ports
// and a given program folder, shown; detection runs at start-up and then only when a test asks.

#include "editing/InstallEditing.h"
#include "support/MainRig.h"

namespace zanq::test {

struct WiredMain : MainRig {
    WiredMain(std::unique_ptr<MidiPorts> ports, const QString& folder)
        : MainRig({InstallEditing, kMidiWindows[0], kMidiWindows[1], kMidiWindows[2]},
                  std::move(ports), folder) {
        window.show();
    }
};

}  // namespace zanq::test
