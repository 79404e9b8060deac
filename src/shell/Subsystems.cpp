#include "shell/Subsystems.h"

#include "banktools/BankTools.h"
#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "shell/frmMain.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "undo/InstallUndo.h"
#include "update/InstallUpdate.h"

namespace zanq {

void InstallSubsystems(frmMain& window, AppContext& context) {
    InstallSysexFiles(window, context);
    InstallUpdate(window, context);
    InstallBankTools(window, context);
    InstallEditing(window, context);
    InstallMidi(window, context);
    InstallMidiTransfers(window, context);
    InstallExport(window, context);
    InstallUndo(window, context);
}

}  // namespace zanq
