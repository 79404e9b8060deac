#pragma once
// Finds the synth among the MIDI ports by name, separately for output and input, tells the
// link which ports to use, and shows the result: MIDI OUT and MIDI IN enabled for the
// directions found, status panel 3 saying whether both were found. Runs at start-up and on
// every tick of the main window's timer. The port lists come from the link's own thread, so a
// MIDI system that hangs never holds up the window: until a run completes, the panel keeps
// saying the synth is not detected.

#include <QObject>
#include <string>
#include <vector>

namespace zanq {

class frmMain;
class MidiLink;
class SynthDialect;

class DeepMindDetector : public QObject {
    Q_OBJECT
public:
    DeepMindDetector(frmMain& window, MidiLink& link, const SynthDialect& dialect);

    // Starts a run, unless one is still waiting for the port lists.
    void DetectDeepMind();
    // Runs detection once the window has been painted for the first time: starting the MIDI
    // systems (a JACK client maps the server's memory) then no longer competes with the
    // window's first appearance.
    void detectOnceShown();

signals:
    // After every completed run.
    void detected();

private:
    void show(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

    frmMain& window_;
    MidiLink& link_;
    const SynthDialect& dialect_;
};

}  // namespace zanq
