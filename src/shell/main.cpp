#include <QApplication>

#include "midi/RtMidiBackend.h"
#include "midi/modMIDI.h"
#include "shell/ProgramFolder.h"
#include "shell/Subsystems.h"
#include "shell/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZANQ Librarian"));
    QApplication::setOrganizationName(QStringLiteral("Kelmo"));

    zanq::PatchStores stores;
    zanq::MessageBoxPrompter prompter;
    zanq::RtMidiBackend midiPorts;
    zanq::modMIDI midi(midiPorts, prompter);
    zanq::AppContext context{stores, prompter, zanq::DefaultProgramFolder()};
    context.midi = &midi;

    zanq::frmMain window(context);
    zanq::InstallSubsystems(window, context);
    window.show();
    return app.exec();
}
