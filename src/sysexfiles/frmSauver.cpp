#include "sysexfiles/frmSauver.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/SysexSaveRun.h"

namespace zanq {

namespace {
const char* const kOptionCaptions[kSaveOptions] = {
    "Patch Library",
    " A",
    "B",
    "C",
    "D",
    "E",
    "F",
    "G",
    "H",
    "A+B+C+D+E+F+G+H (separate files per bank)",
    "A+B+C+D+E+F+G+H (single file with all banks)",
    "*** nothing ***",
};
}  // namespace

frmSauver::frmSauver(frmMain& window, AppContext& context, SysexFileCommands& files)
    : QDialog(&window), window_(window), context_(context), files_(files) {
    setObjectName(QStringLiteral("frmSauver"));
    setWindowTitle(QStringLiteral("Save"));
    setModal(true);

    frameFileName = new QGroupBox(QStringLiteral("FILE NAME"), this);
    txtFilename = new QLineEdit(frameFileName);
    txtFilename->setObjectName(QStringLiteral("txtFilename"));
    txtFilename->setMinimumWidth(220);
    lblExtension = new QLabel(QStringLiteral(".SYX"), frameFileName);
    // Read-only lines: a long folder or name scrolls instead of widening the window.
    txtSavedAs = new QLineEdit(frameFileName);
    txtSavedAs->setObjectName(QStringLiteral("txtSavedAs"));
    txtSavedAs->setReadOnly(true);
    txtFolder = new QLineEdit(frameFileName);
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    txtFolder->setReadOnly(true);
    auto* nameRows = new QGridLayout(frameFileName);
    nameRows->addWidget(txtFilename, 0, 0, 1, 2);
    nameRows->addWidget(lblExtension, 0, 2);
    nameRows->addWidget(new QLabel(QStringLiteral("Saves as:"), frameFileName), 1, 0);
    nameRows->addWidget(txtSavedAs, 1, 1, 1, 2);
    nameRows->addWidget(new QLabel(QStringLiteral("In folder:"), frameFileName), 2, 0);
    nameRows->addWidget(txtFolder, 2, 1, 1, 2);
    nameRows->setColumnStretch(1, 1);
    connect(txtFilename, &QLineEdit::textChanged, this, &frmSauver::showTargets);

    frameSelect = new QGroupBox(QStringLiteral("SELECT"), this);
    auto* options = new QGridLayout(frameSelect);
    for (int i = 0; i < kSaveOptions; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(kOptionCaptions[i]), frameSelect);
        // A control array: every member carries the group's name and its own index.
        option->setObjectName(QStringLiteral("Option1"));
        option->setProperty("index", i);
        Option1[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showTargets();
        });
    }
    options->addWidget(Option1[kSaveLibrary], 0, 0, 1, 8);
    for (int bank = 1; bank <= kBanks; ++bank)
        options->addWidget(Option1[static_cast<std::size_t>(bank)], 1, bank - 1);
    options->addWidget(Option1[kSaveSeparateBanks], 2, 0, 1, 8);
    options->addWidget(Option1[kSaveAllBanks], 3, 0, 1, 8);
    options->addWidget(Option1[kSaveNothing], 4, 0, 1, 8);
    Option1[kSaveNothing]->hide();

    cmdSauve = new QPushButton(QStringLiteral("Save"), this);
    cmdSauve->setObjectName(QStringLiteral("cmdSauve"));
    cmdSauve->setAutoDefault(false);
    connect(cmdSauve, &QPushButton::clicked, this, &frmSauver::cmdSauve_clicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frameFileName);
    layout->addWidget(frameSelect);
    layout->addWidget(cmdSauve, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmSauver::Prepare(const QDateTime& now) {
    txtFilename->setText(PresetSaveName(now));
    const SaveChoices choices = SaveChoicesFor(
        context_.librarian.matrix(), static_cast<int>(context_.librarian.library().patchCount()));
    for (int i = 0; i < kSaveNothing; ++i)
        Option1[static_cast<std::size_t>(i)]->setEnabled(
            choices.enabled[static_cast<std::size_t>(i)]);
    Option1[static_cast<std::size_t>(choices.selected)]->setChecked(true);
    saveEnabled_ = choices.saveEnabled;
    cmdSauve->setEnabled(saveEnabled_ && !run_);
    showTargets();
}

void frmSauver::showTargets() {
    const QString folder = context_.programFolder;
    txtFolder->setText(QDir::toNativeSeparators(folder));
    txtFolder->setCursorPosition(0);
    txtFolder->setToolTip(txtFolder->text());
    QStringList names;
    for (const SaveTarget& target :
         SaveTargets(selectedOption(), txtFilename->text(), context_.librarian.matrix()))
        names << target.fileName;
    txtSavedAs->setText(names.join(QStringLiteral("; ")));
    txtSavedAs->setCursorPosition(0);
    txtSavedAs->setToolTip(names.join(QLatin1Char('\n')));
}

void frmSauver::Open() {
    Prepare(QDateTime::currentDateTime());
    exec();
}

int frmSauver::selectedOption() const {
    for (int i = 0; i < kSaveOptions; ++i)
        if (Option1[static_cast<std::size_t>(i)]->isChecked())
            return i;
    return kSaveNothing;
}

void frmSauver::cmdSauve_clicked() {
    if (run_)
        return;
    std::vector<SaveFile> files =
        FilesToSave(selectedOption(), context_.programFolder, txtFilename->text(),
                    context_.librarian.matrix(), context_.librarian.library());
    cmdSauve->setEnabled(false);
    run_ = new SysexSaveRun(std::move(files), this);
    connect(run_, &SysexSaveRun::finished, this, &frmSauver::saveEnded);
    run_->start();
}

void frmSauver::saveEnded(const QString& failedPath, const QString& reason) {
    run_->deleteLater();
    run_ = nullptr;
    if (!failedPath.isEmpty()) {
        context_.prompter.tell(isVisible() ? static_cast<QWidget*>(this) : &window_,
                               QStringLiteral("The file cannot be written:") + kCR +
                                   QDir::toNativeSeparators(failedPath) + kCR + kCR + reason,
                               kAppTitle, QMessageBox::Warning);
    }
    files_.RefreshFileList();
    cmdSauve->setEnabled(saveEnabled_);
}

}  // namespace zanq
