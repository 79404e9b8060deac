#include <QApplication>
#include <QSettings>

#include "session/SessionKeeper.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/WindowGeometry.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zanq::LibrarianApp::SetUpApplication(app);
    QSettings settings;  // the program's names, set just above, say where
    zanq::LibrarianApp librarian(zanq::DefaultProgramFolder());
    zanq::KeepMainWindowGeometry(librarian.window());
    librarian.window().findChild<zanq::SysexFileCommands*>()->rememberFolderIn(settings);
    librarian.window().show();
    zanq::KeepSession(librarian.window(), librarian.context());
    return app.exec();
}
