#pragma once
// Wires the file browser pane, the Load commands and the Save window to the main window.

namespace zanq {
class frmMain;
struct AppContext;

void InstallSysexFiles(frmMain& window, AppContext& context);
}  // namespace zanq
