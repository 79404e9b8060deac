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
    window.setDetectionHook([detector] { detector->DetectDeepMind(); });
    window.setShutdownHook([midi] { midi->Shutdown(); });
}

}  // namespace zanq
