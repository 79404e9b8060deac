#pragma once
// The whole program put together: the synth dialect and the Librarian, the message-box prompter,
// the MIDI link over the RtMidi ports, the context handed to every window, the main window and
// every subsystem's handlers. main() and the end-to-end test build the program through this class,
// so what the test drives is what the user runs.

#include <QString>
#include <memory>
#include <string>

#include "midi/MidiLink.h"
#include "midi/RtMidiBackend.h"
#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "shell/AppContext.h"
#include "shell/Prompter.h"

class QApplication;
class QSettings;

namespace zanq {

class frmMain;

class LibrarianApp {
public:
    // The program's names, desktop entry and fonts; call once after QApplication exists, before
    // the first window. The window icon follows the main window's first paint.
    static void SetUpApplication(QApplication& app);

    // midiClientName names the program's MIDI client (ALSA sequencer or JACK); settings, when
    // given, keep what the program remembers between runs and must outlive it.
    explicit LibrarianApp(const QString& programFolder,
                          const std::string& midiClientName = "ZANQ Librarian",
                          QSettings* settings = nullptr);
    ~LibrarianApp();
    LibrarianApp(const LibrarianApp&) = delete;
    LibrarianApp& operator=(const LibrarianApp&) = delete;

    frmMain& window() { return *window_; }
    AppContext& context() { return context_; }
    Librarian& librarian() { return librarian_; }
    MidiLink& midi() { return midi_; }

private:
    // Declaration order is construction order: the window goes first on the way out.
    DeepMindDialect dialect_;
    Librarian librarian_{dialect_};
    MessageBoxPrompter prompter_;
    MidiLink midi_;
    AppContext context_;
    std::unique_ptr<frmMain> window_;
};

}  // namespace zanq
