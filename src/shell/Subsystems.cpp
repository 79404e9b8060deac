#include "shell/Subsystems.h"

#include "shell/frmMain.h"

namespace zanq {

void InstallSubsystems(frmMain& window, AppContext& context) {
    // Each subsystem connects its handlers here, one line each.
    (void)window;
    (void)context;
}

}  // namespace zanq
