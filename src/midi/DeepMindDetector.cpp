#include "midi/DeepMindDetector.h"

#include "midi/MidiLink.h"
#include "midi/SynthPortChoice.h"
#include "model/SynthDialect.h"
#include "shell/frmMain.h"

namespace zanq {

DeepMindDetector::DeepMindDetector(frmMain& window, MidiLink& link, const SynthDialect& dialect)
    : QObject(&window), window_(window), link_(link), dialect_(dialect) {
    connect(&link_, &MidiLink::portsListed, this, &DeepMindDetector::show);
}

void DeepMindDetector::DetectDeepMind() {
    link_.listPorts();
}

void DeepMindDetector::detectOnceShown() {
    connect(&window_, &frmMain::firstPainted, this, &DeepMindDetector::DetectDeepMind);
}

void DeepMindDetector::show(const std::vector<std::string>& outputs,
                            const std::vector<std::string>& inputs) {
    // A direction that finds nothing keeps the port of an earlier run.
    const std::optional<std::string> out = ChooseSynthPort(outputs, dialect_);
    if (out)
        link_.setOutputPort(*out);
    const std::optional<std::string> in = ChooseSynthPort(inputs, dialect_);
    if (in)
        link_.setInputPort(*in);
    const bool outFound = out.has_value();
    const bool inFound = in.has_value();
    window_.showSynthPorts(outFound, inFound,
                           outFound && inFound ? QStringLiteral("DEEPMIND DETECTED")
                                               : QStringLiteral("DEEPMIND NOT DETECTED"));
    emit detected();
}

}  // namespace zanq
