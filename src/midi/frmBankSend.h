#pragma once
// Midi Bank Send: sends every patch of the ticked banks to the synth, bank by bank in slot
// order, skipping empty slots, with the button naming the patch under way. A run stops at the
// first message that does not go (the link has said why). With "Verify" ticked, every patch
// sent is then read back and compared; the box's state is the shared verify setting.

#include "midi/BankRunDialog.h"

namespace zanq {

class Librarian;
class MidiLink;

class frmBankSend : public BankRunDialog {
    Q_OBJECT
public:
    frmBankSend(QWidget* parent, MidiLink& link, const Librarian& librarian);

    QPushButton* cmdMidiSend = nullptr;
    QCheckBox* chkVerify = nullptr;

private:
    void cmdMidiSend_Click();

    MidiLink& link_;
    const Librarian& librarian_;
};

}  // namespace zanq
