#pragma once
// Export Patch: takes one patch (ExportPatch), lets the user pick a destination bank and
// program, and saves the retargeted copy as a single-patch .syx file in the program's folder
// or sends it to the synth (reading it back with "Verify" ticked), then closes. Works on a copy:
// the Matrix and the Library never change, and only the bank and program bytes of what leaves
// differ from ExportPatch. One instance, made on first use, shown modally for a grid patch
// and modelessly for a library patch.

#include <QDialog>
#include <functional>

#include "model/PatchRecord.h"
#include "model/Slot.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zanq {

class Prompter;
class SynthDialect;
class MidiLink;

class frmExport : public QDialog {
    Q_OBJECT
public:
    // exportPatch is the shared ExportPatch record this window fills; refreshFiles re-reads
    // the file list after a save; midi may be null (no MIDI link).
    frmExport(QWidget* parent, const SynthDialect& dialect, PatchRecord& exportPatch,
              Prompter& prompter, MidiLink* midi, QString programFolder,
              std::function<void()> refreshFiles);

    QLabel* lblName = nullptr;  // "PATCH NAME"
    QLineEdit* txtName = nullptr;
    QGroupBox* Frame1 = nullptr;  // "Destination"
    QLabel* lblBank = nullptr;    // "BANK"
    QComboBox* cmbBank = nullptr;
    QLabel* lblPatch = nullptr;  // "PATCH NUM"
    QComboBox* cmbPatch = nullptr;
    QPushButton* cmdSauver = nullptr;
    QPushButton* cmdSendToMidi = nullptr;
    QCheckBox* chkVerify = nullptr;  // read "Send to DM" back (the shared verify setting)

    // ExportPatch := record, the lists at the destination, the name shown.
    void LoadPatch(const PatchRecord& record, Slot destination);
    // ExportPatch with the bank and program bytes of the two lists.
    PatchRecord Retargeted() const;
    // Where "Save .syx" writes.
    QString ExportPath() const;

    void cmdSauver_Click();
    void cmdSendToMidi_Click();

private:
    void Form_Load();

    const SynthDialect& dialect_;
    PatchRecord& exportPatch_;
    Prompter& prompter_;
    MidiLink* midi_;
    QString programFolder_;
    std::function<void()> refreshFiles_;
};

}  // namespace zanq
