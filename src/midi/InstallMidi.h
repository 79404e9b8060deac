#pragma once
// Connects the MIDI link to the main window: detection at start-up and on every timer tick,
// and the closing of ports still open when the window closes. Does nothing when the context
// carries no MIDI layer.

namespace zanq {
class frmMain;
struct AppContext;

void InstallMidi(frmMain& window, AppContext& context);
}  // namespace zanq
