#pragma once
// Wires the Export Patch window to the main window: a double click on a library line opens it
// modelessly for that patch, a double click on a filled grid slot opens it modally (or loads
// the patch into the window already open), and what detection finds drives its "Send to DM"
// button.

namespace zanq {
class frmMain;
struct AppContext;

void InstallExport(frmMain& window, AppContext& context);
}  // namespace zanq
