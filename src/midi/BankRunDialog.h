#pragma once
// What the Midi Bank Send and MIDI Receive windows share: eight "Bank A".."Bank H" boxes and one
// start button, modal, created when opened and deleted when closed. While a run goes the start
// button is off and names the slot under way. When a run ends, however it ends, the window
// shows its report below the button: the one-line summary, and the slots concerned in a list
// that can be selected and copied. Closing the window during a run hides it at once and lets
// the run stop after the message under way; the window goes when the run has ended.

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

#include "midi/BankRuns.h"
#include "model/Slot.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zanq {

class BankRunDialog : public QDialog {
    Q_OBJECT
public:
    std::array<QCheckBox*, 9> chkBank{};     // 1..8: banks A..H
    QLabel* lblRunSummary = nullptr;         // the last run's summary
    QPlainTextEdit* txtRunReport = nullptr;  // the slots it concerned, one stretch a line

    bool running() const { return run_ != nullptr; }
    void reject() override;

protected:
    BankRunDialog(QWidget* parent, const char* objectName, const QString& caption);
    // The start button, placed below the boxes.
    QPushButton* addStartButton(const char* objectName, const QString& text);
    // A box beside the bank boxes, in the first free row.
    QCheckBox* addOption(const char* objectName, const QString& text);

    // The ticked banks, A first.
    std::vector<Bank> tickedBanks() const;
    // Shows run, which this window takes over, until it has finished: the start button names
    // each slot the run reaches in progress's words. When it has finished, ended runs first;
    // then the report shows and the button comes back as it was. progressText() puts other
    // words on the button meanwhile.
    void showRun(BankRun* run, std::function<QString(Slot)> progress,
                 std::function<void(RunEnd)> ended);
    // The user closed the window during the run under way.
    bool stopRequested() const { return stop_; }
    void progressText(const QString& text);

    void closeEvent(QCloseEvent* event) override;

private:
    void stopAndClose();

    QPushButton* start_ = nullptr;
    BankRun* run_ = nullptr;
    bool stop_ = false;
    int options_ = 0;
};

}  // namespace zanq
