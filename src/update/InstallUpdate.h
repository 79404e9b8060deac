#pragma once
// Wires the update check, the About window and the web-site links into the main window.

#include "update/modWeb.h"

namespace zanq {

class frmMain;
struct AppContext;

// Starts the start-up check and routes "?" > About, Image3 and status panel 4 to the About
// window, and status panel 1 and lblversion to the maker's web site.
void InstallUpdate(frmMain& window, AppContext& context);
// The same with the version file's address and the time-out given (tests).
void InstallUpdate(frmMain& window, AppContext& context, UpdateSettings settings);

}  // namespace zanq
