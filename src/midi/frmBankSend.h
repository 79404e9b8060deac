#pragma once
// Midi Bank Send: sends every patch of the ticked banks to the synth, bank by bank in slot
// order, skipping empty slots, with the button naming the patch under way. A run also stops at
// the first message for which the output port does not open (the link has said why).

#include "midi/BankRunDialog.h"

namespace zanq {

class Librarian;
class MidiLink;

class frmBankSend : public BankRunDialog {
    Q_OBJECT
public:
    frmBankSend(QWidget* parent, MidiLink& link, const Librarian& librarian);

    QPushButton* cmdMidiSend = nullptr;

private:
    void cmdMidiSend_Click();

    MidiLink& link_;
    const Librarian& librarian_;
};

}  // namespace zanq
