#include "export/frmExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "banktools/DialogDesign.h"
#include "export/ExportFileName.h"
#include "midi/MidiLink.h"
#include "midi/PatchSend.h"
#include "midi/VerifySetting.h"
#include "model/PatchName.h"
#include "model/SynthDialect.h"
#include "shell/Prompter.h"
#include "sysexfiles/SysexSaver.h"

namespace zanq {

frmExport::frmExport(QWidget* parent, const SynthDialect& dialect, PatchRecord& exportPatch,
                     Prompter& prompter, MidiLink* midi, QString programFolder,
                     std::function<void()> refreshFiles)
    : QDialog(parent),
      dialect_(dialect),
      exportPatch_(exportPatch),
      prompter_(prompter),
      midi_(midi),
      programFolder_(std::move(programFolder)),
      refreshFiles_(std::move(refreshFiles)) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export Patch"));
    SetDesignClientSize(*this, 4215, 3480);

    const auto named = [](QWidget* control, const char* name) {
        control->setObjectName(QString::fromLatin1(name));
    };
    lblName = new QLabel(QStringLiteral("PATCH NAME"), this);
    named(lblName, "lblName");
    PlaceTwips(*lblName, 240, 180, 3735, 225);
    txtName = new QLineEdit(this);
    named(txtName, "txtName");
    txtName->setEnabled(false);  // shows the name; nothing reads it back
    PlaceTwips(*txtName, 240, 420, 3735, 315);

    Frame1 = new QGroupBox(QStringLiteral("Destination"), this);
    named(Frame1, "Frame1");
    PlaceTwips(*Frame1, 240, 900, 3735, 1335);
    lblBank = new QLabel(QStringLiteral("BANK"), Frame1);
    named(lblBank, "lblBank");
    PlaceTwips(*lblBank, 240, 360, 1455, 225);
    lblPatch = new QLabel(QStringLiteral("PATCH NUM"), Frame1);
    named(lblPatch, "lblPatch");
    PlaceTwips(*lblPatch, 1920, 360, 1575, 225);
    cmbBank = new QComboBox(Frame1);
    named(cmbBank, "cmbBank");
    PlaceTwips(*cmbBank, 240, 660, 1455, 0);
    cmbPatch = new QComboBox(Frame1);
    named(cmbPatch, "cmbPatch");
    PlaceTwips(*cmbPatch, 1920, 660, 1575, 0);
    // Drop-down lists keep their own height; neither takes free text.
    for (QComboBox* list : {cmbBank, cmbPatch}) {
        list->setEditable(false);
        list->setFixedHeight(list->sizeHint().height());
    }

    cmdSauver = new QPushButton(QStringLiteral("Save .syx"), this);
    named(cmdSauver, "cmdSauver");
    PlaceTwips(*cmdSauver, 240, 2460, 1770, 555);
    cmdSendToMidi = new QPushButton(QStringLiteral("Send to DM"), this);
    named(cmdSendToMidi, "cmdSendToMidi");
    PlaceTwips(*cmdSendToMidi, 2205, 2460, 1770, 555);
    cmdSendToMidi->setEnabled(false);  // until detection finds the synth's output port
    for (QPushButton* button : {cmdSauver, cmdSendToMidi})
        button->setAutoDefault(false);
    // The send window's "Verify": the same setting.
    chkVerify = new QCheckBox(QStringLiteral("Verify"), this);
    named(chkVerify, "chkVerify");
    PlaceTwips(*chkVerify, 2205, 3090, 1770, 285);
    connect(chkVerify, &QCheckBox::toggled, this, &SetVerifySends);

    connect(cmdSauver, &QPushButton::clicked, this, &frmExport::cmdSauver_Click);
    connect(cmdSendToMidi, &QPushButton::clicked, this, &frmExport::cmdSendToMidi_Click);
    Form_Load();
}

void frmExport::Form_Load() {
    cmbBank->clear();
    cmbPatch->clear();
    for (int b = 0; b < Bank::kCount; ++b)
        cmbBank->addItem(QChar::fromLatin1(Bank::fromByte(b).letter()));
    for (int p = 0; p < Program::kCount; ++p)
        cmbPatch->addItem(QString::fromStdString(Program::fromByte(p).text()));
}

void frmExport::LoadPatch(const PatchRecord& record, Slot destination) {
    exportPatch_ = record;
    cmbBank->setCurrentIndex(destination.bank.byte());
    cmbPatch->setCurrentIndex(destination.program.byte());
    txtName->setText(NameText(dialect_.patchName(record)));
    chkVerify->setChecked(VerifySends());
}

PatchRecord frmExport::Retargeted() const {
    return dialect_.retarget(exportPatch_, {Bank::fromByte(cmbBank->currentIndex()),
                                            Program::fromByte(cmbPatch->currentIndex())});
}

QString frmExport::ExportPath() const {
    return programFolder_ + QLatin1Char('/') +
           ExportFileName(NameText(dialect_.patchName(exportPatch_)), cmbBank->currentText(),
                          cmbPatch->currentText());
}

void frmExport::cmdSauver_Click() {
    const QString path = ExportPath();
    const QString reason = WriteSysexFile(path, Retargeted());
    if (!reason.isEmpty()) {
        // The window stays open, so another destination can be tried.
        prompter_.tell(this,
                       QStringLiteral("The file cannot be written:") + kCR +
                           QDir::toNativeSeparators(path) + kCR + kCR + reason,
                       kAppTitle, QMessageBox::Warning);
        return;
    }
    if (refreshFiles_)
        refreshFiles_();
    close();
}

void frmExport::cmdSendToMidi_Click() {
    // The window closes at once: the main window hears how a verified send went.
    if (midi_ && parentWidget()) {
        PatchRecord record = Retargeted();
        const Slot slot = dialect_.slotOf(record);
        SendOnePatch(*parentWidget(), *midi_, dialect_, prompter_, slot, std::move(record));
    }
    close();
}

}  // namespace zanq
