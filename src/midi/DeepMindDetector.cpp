#include "midi/DeepMindDetector.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>

#include "midi/MidiLink.h"
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
    window_.installEventFilter(this);
}

bool DeepMindDetector::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint) {
        window_.removeEventFilter(this);
        // Queued, so that the paint under way ends first.
        QTimer::singleShot(0, this, &DeepMindDetector::DetectDeepMind);
    }
    return false;
}

void DeepMindDetector::show(const std::vector<std::string>& outputs,
                            const std::vector<std::string>& inputs) {
    // The first matching port in the MIDI system's order; a direction that finds nothing keeps
    // the port of an earlier run.
    const auto find = [this](const std::vector<std::string>& names) {
        return std::find_if(names.begin(), names.end(),
                            [this](const std::string& name) { return dialect_.isSynthPort(name); });
    };
    const auto out = find(outputs);
    if (out != outputs.end())
        link_.setOutputPort(*out);
    const auto in = find(inputs);
    if (in != inputs.end())
        link_.setInputPort(*in);
    const bool outFound = out != outputs.end();
    const bool inFound = in != inputs.end();
    window_.showSynthPorts(outFound, inFound,
                           outFound && inFound ? QStringLiteral("DEEPMIND DETECTED")
                                               : QStringLiteral("DEEPMIND NOT DETECTED"));
    emit detected();
}

}  // namespace zanq
