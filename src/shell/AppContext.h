#pragma once
// What the windows share, handed in from main(): the stores, the prompt seam and the folder
// where files are saved. Nothing here is global; tests build their own.

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <functional>

#include "model/PatchStores.h"
#include "shell/Prompter.h"

namespace zanq {

class modMIDI;

struct AppContext {
    PatchStores& stores;
    Prompter& prompter;
    QString programFolder;
    // Hands an address to the user's browser; tests count the calls instead.
    std::function<void(const QUrl&)> openUrl = [](const QUrl& url) {
        QDesktopServices::openUrl(url);
    };
    // The MIDI port layer; null where a program or test runs without MIDI.
    modMIDI* midi = nullptr;
};

}  // namespace zanq
