#pragma once
// Midi Bank Send: sends every patch of the ticked banks to the synth, bank by bank in slot
// order, skipping empty slots. A run also stops at the first message for which the output port
// does not open (the port layer has said why).

#include <functional>

#include "midi/BankRunDialog.h"

namespace zanq {

class Matrix;
class modMIDI;

class frmBankSend : public BankRunDialog {
    Q_OBJECT
public:
    // pump lets window events run after each message; the default processes Qt's events.
    frmBankSend(QWidget* parent, const Matrix& matrix, modMIDI& midi,
                std::function<void()> pump = {});

    QPushButton* cmdMidiSend = nullptr;

private:
    void cmdMidiSend_Click();

    const Matrix& matrix_;
    modMIDI& midi_;
    std::function<void()> pump_;
};

}  // namespace zanq
