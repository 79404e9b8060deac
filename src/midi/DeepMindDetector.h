#pragma once
// Finds the DeepMind among the MIDI ports by name, separately for output and input, tells the
// port layer which ports to use, and shows the result: MIDI OUT and MIDI IN enabled for the
// directions found, status panel 3 saying whether both were found. Runs once at start-up and
// on every tick of the main window's timer.

#include <QObject>

namespace zanq {

class frmMain;
class modMIDI;

class DeepMindDetector : public QObject {
    Q_OBJECT
public:
    DeepMindDetector(frmMain& window, modMIDI& midi);

    void DetectDeepMind();

    // Results of the last run.
    bool outputFound() const { return outFound_; }
    bool inputFound() const { return inFound_; }

signals:
    // After the first run, and after every run whose output result differs from the one before:
    // the Export window's "Send to DM" button follows it.
    void outputPresenceChanged(bool found);

private:
    frmMain& window_;
    modMIDI& midi_;
    bool outFound_ = false;
    bool inFound_ = false;
    bool ranOnce_ = false;
};

// The detector InstallMidi made for this window, or nullptr when the program runs without MIDI.
DeepMindDetector* FindDeepMindDetector(frmMain& window);

}  // namespace zanq
