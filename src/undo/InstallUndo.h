#pragma once
// The "Edit" menu, between "Files" and "Utils", with Undo and Redo over the Librarian's steps.

namespace zanq {
class frmMain;
struct AppContext;
class UndoHistory;

UndoHistory& InstallUndo(frmMain& window, AppContext& context);
}  // namespace zanq
