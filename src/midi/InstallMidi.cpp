#include "midi/InstallMidi.h"

#include "midi/DeepMindDetector.h"
#include "midi/modMIDI.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

void InstallMidi(frmMain& window, AppContext& context) {
    modMIDI* midi = context.midi;
    if (!midi)
        return;
    midi->setParentWindow(&window);
    auto* detector = new DeepMindDetector(window, *midi);
    detector->DetectDeepMind();
    QObject::connect(&window, &frmMain::ticked, detector, &DeepMindDetector::DetectDeepMind);
    QObject::connect(&window, &frmMain::closing, detector, [midi] { midi->Shutdown(); });
}

}  // namespace zanq
