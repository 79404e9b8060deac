#include "sysexfiles/InstallSysexFiles.h"

#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq {

void InstallSysexFiles(frmMain& window, AppContext& context) {
    new SysexFileCommands(window, context);
}

}  // namespace zanq
