#pragma once
// What the Midi Bank Send and MIDI Receive windows share: eight "Bank A".."Bank H" boxes and one
// start button, modal, created when opened and deleted when closed. Closing the window during a
// run hides it at once and lets the run stop after the message under way; the window goes when
// the run has ended.

#include <QDialog>
#include <array>
#include <vector>

#include "model/Slot.h"

class QCheckBox;
class QPushButton;

namespace zanq {

class BankRunDialog : public QDialog {
    Q_OBJECT
public:
    std::array<QCheckBox*, 9> chkBank{};  // 1..8: banks A..H

    bool running() const { return running_; }
    void reject() override;

protected:
    BankRunDialog(QWidget* parent, const char* objectName, const QString& caption);
    // The start button, placed below the boxes.
    QPushButton* addStartButton(const char* objectName, const QString& text);

    // The ticked banks, A first.
    std::vector<Bank> tickedBanks() const;
    // Marks a run as started; false when one is already under way.
    bool beginRun();
    // Ends the run; deletes the window when the user closed it meanwhile.
    void endRun();
    bool stopRequested() const { return stop_; }
    // The user closed the window during a run: the run is to stop after its current message.
    virtual void stopRun() = 0;

    void closeEvent(QCloseEvent* event) override;

private:
    void stopAndClose();

    bool running_ = false;
    bool stop_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace zanq
