#include "shell/LibrarianApp.h"

#include <QApplication>
#include <QIcon>

#include "shell/DesignFonts.h"
#include "shell/Subsystems.h"
#include "shell/frmMain.h"

namespace zanq {

void LibrarianApp::SetUpApplication(QApplication&) {
    QApplication::setApplicationName(QStringLiteral("ZANQ Librarian"));
    QApplication::setOrganizationName(QStringLiteral("Kelmo"));
    // Ties the windows to zanq-librarian.desktop, so the desktop shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zanq-librarian"));
    SubstituteDesignFonts();
}

LibrarianApp::LibrarianApp(const QString& programFolder, const std::string& midiClientName,
                           QSettings* settings)
    : midi_(std::make_unique<RtMidiBackend>(midiClientName)),
      context_(librarian_, prompter_, programFolder, OpenInBrowser, &midi_) {
    context_.settings = settings;
    window_ = std::make_unique<frmMain>(context_);
    InstallSubsystems(*window_, context_);
    // The installed icon (a build run from its folder simply has none). Finding it reads the
    // index of every icon theme on the desktop, which the first paint need not wait for.
    QObject::connect(window_.get(), &frmMain::firstPainted, window_.get(), [] {
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zanq-librarian")));
    });
}

LibrarianApp::~LibrarianApp() = default;

}  // namespace zanq
