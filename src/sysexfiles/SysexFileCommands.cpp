#include "sysexfiles/SysexFileCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QPushButton>
#include <QTreeView>

#include "model/StepLabels.h"
#include "shell/frmMain.h"

namespace zanq {

SysexFileCommands::SysexFileCommands(frmMain& window, AppContext& context)
    : SysexFileBrowser(window, context.programFolder), context_(context) {
    setObjectName(QStringLiteral("SysexFileCommands"));
    connect(browser_.cmdLoadInMatrix, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadInMatrix_clicked);
    connect(browser_.cmdLoadPatchlist, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadPatchlist_clicked);
    connect(browser_.cmdLoadPatchListMatrix, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadPatchListMatrix_clicked);
    connect(browser_.cmdLoadAll, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadAll_clicked);
    connect(this, &SysexFileBrowser::fileDoubleClicked, this,
            &SysexFileCommands::cmdLoadPatchListMatrix_clicked);
}

SysexFileCommands::~SysexFileCommands() = default;

void SysexFileCommands::cmdLoadInMatrix_clicked() {
    runSingleFileLoad(true, false);
}
void SysexFileCommands::cmdLoadPatchlist_clicked() {
    runSingleFileLoad(false, true);
}
void SysexFileCommands::cmdLoadPatchListMatrix_clicked() {
    runSingleFileLoad(true, true);
}

void SysexFileCommands::runSingleFileLoad(bool toMatrix, bool toLibrary) {
    if (isLoading() || !hasSelectedFile())
        return;
    startLoad({{selectedNativePath(), selectedFilePath()}}, toMatrix, toLibrary, false);
}

void SysexFileCommands::loadDroppedFiles(const QStringList& paths, bool toMatrix, bool toLibrary) {
    if (isLoading() || paths.isEmpty())
        return;
    std::vector<SysexLoadRun::File> files;
    for (const QString& path : paths)
        files.push_back({QFile::encodeName(path), path});
    startLoad(std::move(files), toMatrix, toLibrary, false);
}

void SysexFileCommands::cmdLoadAll_clicked() {
    if (isLoading() || fileCount() == 0)
        return;
    std::vector<SysexLoadRun::File> files;
    for (int row = 0; row < fileCount(); ++row) {
        loadAllNames_.push_back(fileAt(row).nativeName);
        files.push_back({NativePath(folder(), fileAt(row).nativeName),
                         QDir(folder()).filePath(fileNameAt(row))});
    }
    startLoad(std::move(files), false, true, true);
}

void SysexFileCommands::startLoad(std::vector<SysexLoadRun::File> files, bool toMatrix,
                                  bool toLibrary, bool loadAll) {
    toLibrary_ = toLibrary;
    loadAll_ = loadAll;
    setLoading(true);
    if (loadAll_) {
        // The browser stays put while every listed file loads.
        setBrowserEnabled(false);
    } else {
        browser_.File1->setEnabled(false);
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
    const LoadTarget target = !toLibrary ? LoadTarget::Matrix
                              : toMatrix ? LoadTarget::Both
                                         : LoadTarget::Library;
    Librarian& librarian = context_.librarian;
    // The whole run, however many slices and files, is one step to undo; it closes in
    // loadEnded.
    librarian.beginStep(loadAll ? labels::LoadAll()
                                : labels::Load(files.size() == 1
                                                   ? QFileInfo(files.front().shownPath).fileName()
                                                   : QString(),
                                               target));
    // The Librarian keeps the valid records and tells the grid and the list what changed.
    auto sink = [&librarian, target](std::vector<PatchRecord>& candidates) {
        librarian.apply(candidates, target);
    };
    run_ = new SysexLoadRun(librarian.dialect().recordLength(), sink, std::move(files), this);
    connect(run_, &SysexLoadRun::fileStarting, this, &SysexFileCommands::fileStarting);
    connect(run_, &SysexLoadRun::fileLoading, this, &SysexFileCommands::fileLoading);
    connect(run_, &SysexLoadRun::progressed, &window_, &frmMain::setProgress);
    connect(run_, &SysexLoadRun::fileEnded, this, &SysexFileCommands::fileEnded);
    connect(run_, &SysexLoadRun::finished, this, &SysexFileCommands::loadEnded);
    run_->start();
}

void SysexFileCommands::fileStarting(int index) {
    if (!loadAll_)
        return;
    // Load all moves the selection through the list as it goes; the list holds still meanwhile,
    // unless a save or export has just read it again.
    const QByteArray& name = loadAllNames_[static_cast<std::size_t>(index)];
    if (index < fileCount() && fileAt(index).nativeName == name) {
        selectFile(index);
        return;
    }
    for (int row = 0; row < fileCount(); ++row)
        if (fileAt(row).nativeName == name)
            selectFile(row);
}

void SysexFileCommands::fileLoading() {
    fileOpen_ = true;
    // A hidden list does not repaint after every addition.
    if (toLibrary_)
        window_.setLibraryListVisible(false);
    window_.setProgress(0);
    window_.showProgress(SysexLoadRun::kProgressSteps);
}

void SysexFileCommands::fileEnded(int index, const QString& error) {
    if (fileOpen_) {
        fileOpen_ = false;
        // Load all keeps the list hidden until its last file: showing it between files would
        // lay out every line again for each file.
        if (!loadAll_)
            window_.setLibraryListVisible(true);
        window_.hideProgress();
    }
    if (!error.isEmpty()) {
        const QString& path = run_->file(index).shownPath;
        context_.prompter.tell(&window_,
                               QStringLiteral("The file cannot be read:") + kCR +
                                   QDir::toNativeSeparators(path) + kCR + kCR + error,
                               kAppTitle, QMessageBox::Warning);
    }
}

void SysexFileCommands::loadEnded() {
    if (loadAll_) {
        window_.setLibraryListVisible(true);
        setBrowserEnabled(true);
    } else {
        browser_.File1->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    run_->deleteLater();
    run_ = nullptr;
    loadAllNames_.clear();
    context_.librarian.endStep();
    setLoading(false);
    emit loadFinished();
}

void SysexFileCommands::setBrowserEnabled(bool enabled) {
    browser_.Drive1->setEnabled(enabled);
    browser_.Dir1->setEnabled(enabled);
    browser_.File1->setEnabled(enabled);
}

}  // namespace zanq
