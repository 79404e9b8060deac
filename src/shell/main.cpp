#include <QApplication>
#include <QSettings>

#include "session/SessionKeeper.h"
#include "shell/FontConfigPreload.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/WindowGeometry.h"
#include "shell/frmMain.h"

int main(int argc, char* argv[]) {
    // Read while the application connects to the display; the window's first text waits for it.
    zanq::FontConfigPreload fontConfig;
    QApplication app(argc, argv);
    zanq::LibrarianApp::SetUpApplication(app);
    fontConfig.wait();
    QSettings settings;  // the program's names, set just above, say where
    zanq::LibrarianApp librarian(zanq::DefaultProgramFolder(), "ZANQ Librarian", &settings);
    zanq::frmMain& window = librarian.window();
    zanq::KeepMainWindowGeometry(window);
    window.show();
    // The journal opens, and may ask about the last session, once the window is on screen.
    QObject::connect(
        &window, &zanq::frmMain::firstPainted, &window,
        [&window, &context = librarian.context()] { zanq::KeepSession(window, context); });
    return app.exec();
}
