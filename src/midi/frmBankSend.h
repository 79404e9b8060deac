#pragma once
// Midi Bank Send: sends every patch of the ticked banks to the synth, bank by bank in slot
// order, skipping empty slots. Modal, created when opened and deleted when closed. Closing it
// during a run stops the run after the message under way; a run also stops at the first
// message for which the output port does not open (the port layer has said why).

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

namespace zanq {

class Matrix;
class modMIDI;

class frmBankSend : public QDialog {
    Q_OBJECT
public:
    // pump lets window events run after each message; the default processes Qt's events.
    frmBankSend(QWidget* parent, const Matrix& matrix, modMIDI& midi,
                std::function<void()> pump = {});

    std::array<QCheckBox*, 9> chkBank{};  // 1..8: banks A..H
    QPushButton* cmdMidiSend = nullptr;

    bool running() const { return running_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdMidiSend_Click();
    void stopAndClose();

    const Matrix& matrix_;
    modMIDI& midi_;
    std::function<void()> pump_;
    bool running_ = false;
    bool stop_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace zanq
