#include <QApplication>

#include "session/SessionKeeper.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/WindowGeometry.h"
#include "shell/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zanq::LibrarianApp::SetUpApplication(app);
    zanq::LibrarianApp librarian(zanq::DefaultProgramFolder());
    zanq::KeepMainWindowGeometry(librarian.window());
    librarian.window().show();
    zanq::KeepSession(librarian.window(), librarian.context());
    return app.exec();
}
