#include <QApplication>

#include "shell/ProgramFolder.h"
#include "shell/Subsystems.h"
#include "shell/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZANQ Librarian"));
    QApplication::setOrganizationName(QStringLiteral("Kelmo"));

    zanq::PatchStores stores;
    zanq::MessageBoxPrompter prompter;
    zanq::AppContext context{stores, prompter, zanq::DefaultProgramFolder()};

    zanq::frmMain window(context);
    zanq::InstallSubsystems(window, context);
    window.show();
    return app.exec();
}
