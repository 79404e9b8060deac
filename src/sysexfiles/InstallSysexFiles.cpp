#include "sysexfiles/InstallSysexFiles.h"

#include <QAction>
#include <QPushButton>

#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"

namespace zanq {

void InstallSysexFiles(frmMain& window, AppContext& context) {
    auto* files = new SysexFileCommands(window, context);
    // The Save window is made on first use and prepared anew on every opening.
    auto openSave = [&window, &context, files] {
        auto* save = window.findChild<frmSauver*>();
        if (!save)
            save = new frmSauver(window, context, *files);
        save->Open();
    };
    QObject::connect(window.mnuSave, &QAction::triggered, files, openSave);
    QObject::connect(window.cmdSauver, &QPushButton::clicked, files, openSave);
}

}  // namespace zanq
