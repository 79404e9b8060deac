#include "editing/InstallEditing.h"

#include "editing/EditingCommands.h"
#include "shell/frmMain.h"

namespace zanq {

void InstallEditing(frmMain& window, AppContext& context) {
    new EditingCommands(window, context);
}

}  // namespace zanq
