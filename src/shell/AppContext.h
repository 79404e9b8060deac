#pragma once
// What the windows share, handed in from main(): the Librarian that owns the patches, the
// prompt seam, the folder where files are saved and the little selection state that lives as
// long as the program. Nothing here is global; tests build their own.

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

#include "model/Librarian.h"
#include "model/Slot.h"
#include "shell/Prompter.h"

class QSettings;

namespace zanq {

class MidiLink;

inline void OpenInBrowser(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

struct AppContext {
    using UrlOpener = std::function<void(const QUrl&)>;

    AppContext(Librarian& librarian, Prompter& prompter, QString programFolder,
               UrlOpener openUrl = OpenInBrowser, MidiLink* midi = nullptr)
        : librarian(librarian),
          prompter(prompter),
          programFolder(std::move(programFolder)),
          openUrl(std::move(openUrl)),
          midi(midi) {}

    Librarian& librarian;
    Prompter& prompter;
    QString programFolder;
    // Hands an address to the user's browser; tests count the calls instead.
    UrlOpener openUrl;
    // The MIDI link; null where a program or test runs without MIDI.
    MidiLink* midi = nullptr;
    // What the program remembers between runs; null where nothing is to be remembered.
    QSettings* settings = nullptr;

    // The record handed to the Export Patch window.
    PatchRecord ExportPatch;
    // The grid slot where the last left press landed; kept between drags.
    std::optional<Slot> dragOrigin;
};

}  // namespace zanq
