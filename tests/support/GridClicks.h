#pragma once
// The main window with editing, the MIDI link, transfers and export installed over given ports
// and a given program folder, and the windows and controls those install.

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "model/Librarian.h"
#include "support/MainRig.h"

namespace zanq::test {

// The timer is stopped: detection runs at start-up and then only when a test asks.
struct WiredMain {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    ScriptedPrompter prompter;
    MidiLink link;
    AppContext context;
    frmMain window;
    DeepMindDetector* detector = nullptr;

    WiredMain(std::unique_ptr<MidiPorts> ports, const QString& folder)
        : link(std::move(ports)),
          context{librarian, prompter, folder, [](const QUrl&) {}, &link},
          window(context) {
        test::Ui(window).Timer1->stop();
        InstallEditing(window, context);
        detector = InstallMidi(window, context);
        InstallMidiTransfers(window, context);
        InstallExport(window, context);
        window.show();
    }
    // Runs detection over the ports as they are now and waits for its result.
    bool detect() { return Detect(link, detector); }
};

}  // namespace zanq::test
