#include "sysexfiles/InstallSysexFiles.h"

#include <QPointer>

#include "shell/frmMain.h"
#include "sysexfiles/FileDrops.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"

namespace zanq {

void InstallSysexFiles(frmMain& window, AppContext& context) {
    auto* files = new SysexFileCommands(window, context);
    if (context.settings)
        files->rememberFolderIn(*context.settings);
    new FileDrops(window, context, *files);
    // The Save window is made on first use and prepared anew on every opening.
    QObject::connect(&window, &frmMain::saveRequested, files,
                     [&window, &context, files, save = QPointer<frmSauver>()]() mutable {
                         if (!save)
                             save = new frmSauver(window, context, *files);
                         save->Open();
                     });
}

}  // namespace zanq
