#pragma once
// Sending one patch from the main window or the Export window. With the "Verify" setting on,
// the patch is read back and the user is told whether the synth holds the same bytes; without
// it, nothing is said unless a step fails (the link shows that).

#include <string>

#include "model/Slot.h"

class QWidget;

namespace zanq {

class MidiLink;
class Prompter;
class SynthDialect;

// record names slot in its own bytes; window is where the answer is shown, and must outlive
// the send.
void SendOnePatch(QWidget& window, MidiLink& link, const SynthDialect& dialect, Prompter& prompter,
                  Slot slot, std::string record);

}  // namespace zanq
