#pragma once
// What the windows share, handed in from main(): the stores, the prompt seam and the folder
// where files are saved. Nothing here is global; tests build their own.

#include <QString>

#include "model/PatchStores.h"
#include "shell/Prompter.h"

namespace zanq {

struct AppContext {
    PatchStores& stores;
    Prompter& prompter;
    QString programFolder;
};

}  // namespace zanq
