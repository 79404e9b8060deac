#pragma once
// MIDI Receive: fetches every program of the ticked banks from the synth by request and reply,
// storing each reply where it says. A request that brings back nothing at all stops the run
// with a message. Modal, created when opened and deleted when closed; closing it during a run
// stops the run after the exchange under way, and what came in stays.

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QPushButton;

namespace zanq {

class Prompter;
class ProgramExchange;

// The message of a bank run whose request brought back nothing.
inline const QString kNoMidiDataMessage = QStringLiteral(
    "No Midi Data Received. Check RECORD is on, destination device: Set to accept Sysex data, "
    "Set to correct Midi Channel.");

class frmMidiReceive : public QDialog {
    Q_OBJECT
public:
    frmMidiReceive(QWidget* parent, ProgramExchange& exchange, Prompter& prompter);

    std::array<QCheckBox*, 9> chkBank{};  // 1..8: banks A..H
    QPushButton* cmdMidiReceive = nullptr;

    bool running() const { return running_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdMidiReceive_Click();
    void stopAndClose();

    ProgramExchange& exchange_;
    Prompter& prompter_;
    bool running_ = false;
    bool stop_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace zanq
