#include "editing/InstallEditing.h"

#include "editing/DragDropRouter.h"
#include "editing/EditingCommands.h"
#include "shell/frmMain.h"

namespace zanq {

void InstallEditing(frmMain& window, AppContext& context) {
    auto* commands = new EditingCommands(window, context);
    new DragDropRouter(window, *commands);
}

}  // namespace zanq
