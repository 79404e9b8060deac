#pragma once
// Connects the MIDI link to the main window: detection once the window is first painted and on
// every timer tick, the link's failures shown as messages over the window, and the link closed
// when the window closes. Does nothing when the context carries no MIDI link.

namespace zanq {
class DeepMindDetector;
class frmMain;
struct AppContext;

// The detector it made (owned by the window), or nullptr without a MIDI link.
DeepMindDetector* InstallMidi(frmMain& window, AppContext& context);
}  // namespace zanq
