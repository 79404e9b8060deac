#pragma once
// Wires drag-and-drop placement and the Delete Zone to the main window.

namespace zanq {
class frmMain;
struct AppContext;

void InstallEditing(frmMain& window, AppContext& context);
}  // namespace zanq
