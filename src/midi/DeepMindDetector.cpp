#include "midi/DeepMindDetector.h"

#include "midi/PortMatch.h"
#include "midi/modMIDI.h"
#include "shell/frmMain.h"

namespace zanq {

DeepMindDetector::DeepMindDetector(frmMain& window, modMIDI& midi)
    : QObject(&window), window_(window), midi_(midi) {
    setObjectName(QStringLiteral("DeepMindDetector"));
}

void DeepMindDetector::DetectDeepMind() {
    MidiBackend& ports = midi_.backend();

    // A direction that finds nothing keeps its port number from an earlier run.
    const auto out = FindDeepMindPort(ports.outputPortNames());
    if (out)
        midi_.SetMidiOutDevice(*out);
    const bool outChanged = !ranOnce_ || outFound_ != out.has_value();
    outFound_ = out.has_value();
    if (outChanged)
        emit outputPresenceChanged(outFound_);

    const auto in = FindDeepMindPort(ports.inputPortNames());
    if (in)
        midi_.SetMidiInDevice(*in);
    inFound_ = in.has_value();

    ranOnce_ = true;
    window_.showSynthPorts(outFound_, inFound_,
                           outFound_ && inFound_ ? QStringLiteral("DEEPMIND DETECTED")
                                                 : QStringLiteral("DEEPMIND NOT DETECTED"));
}

DeepMindDetector* FindDeepMindDetector(frmMain& window) {
    return window.findChild<DeepMindDetector*>(QStringLiteral("DeepMindDetector"),
                                               Qt::FindDirectChildrenOnly);
}

}  // namespace zanq
