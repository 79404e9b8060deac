#pragma once
// Wires every subsystem to the main window's controls. main() calls it once after building the
// window; widget tests call it to get the whole program without its event loop.

namespace zanq {
class frmMain;
struct AppContext;

void InstallSubsystems(frmMain& window, AppContext& context);
}  // namespace zanq
