#include "sysexfiles/SysexFileCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QStringListModel>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <climits>

#include "model/StepLabels.h"
#include "model/StepScope.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexLoader.h"

namespace zanq {

namespace {
constexpr qint64 kFrameMs = 16;
// Pending events run at most this often during a load: the window answers as quickly as with a
// pump per record (a screen frame is 16 ms) without repainting hundreds of times per second.
constexpr qint64 kPumpMs = 8;

// Mount points (drives on Windows) that can be browsed, each once, sorted.
QStringList DriveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!roots.contains(root))
            roots.append(root);
    }
    if (roots.isEmpty())
        roots.append(QDir::rootPath());
    roots.sort();
    return roots;
}

// The drive root that holds path: the longest root that is a prefix of it.
QString DriveOf(const QStringList& roots, const QString& path) {
    QString best = QDir::rootPath();
    for (const QString& root : roots) {
        const bool inside = root.endsWith(QLatin1Char('/'))
                                ? path.startsWith(root)
                                : path == root || path.startsWith(root + QLatin1Char('/'));
        if (inside && root.size() >= best.size())
            best = root;
    }
    return best;
}
}  // namespace

SysexFileCommands::SysexFileCommands(frmMain& window, AppContext& context)
    : QObject(&window), window_(window), context_(context), browser_(window.fileBrowser()) {
    setObjectName(QStringLiteral("SysexFileCommands"));
    buildBrowser();
    connect(browser_.cmdLoadInMatrix, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadInMatrix_clicked);
    connect(browser_.cmdLoadPatchlist, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadPatchlist_clicked);
    connect(browser_.cmdLoadPatchListMatrix, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadPatchListMatrix_clicked);
    connect(browser_.cmdLoadAll, &QPushButton::clicked, this,
            &SysexFileCommands::cmdLoadAll_clicked);
    // Whoever writes into the folder says so; the list then shows what is there.
    connect(&window_, &frmMain::filesChanged, this, &SysexFileCommands::RefreshFileList);
    setFolder(context_.programFolder);
}

SysexFileCommands::~SysexFileCommands() = default;

void SysexFileCommands::buildBrowser() {
    browser_.Drive1->addItems(DriveRoots());
    connect(browser_.Drive1, &QComboBox::activated, this, &SysexFileCommands::Drive1_activated);

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setReadOnly(true);
    browser_.Dir1->setModel(dirModel_);
    for (int column = 1; column < dirModel_->columnCount(); ++column)
        browser_.Dir1->hideColumn(column);
    // The folders arrive from a background reader and are sorted a moment later: keep the
    // current folder in sight once they have settled.
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, [this] {
        QTimer::singleShot(50, this,
                           [this] { browser_.Dir1->scrollTo(browser_.Dir1->currentIndex()); });
    });
    connect(browser_.Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { Dir1_currentChanged(current); });

    fileModel_ = new QStringListModel(this);
    browser_.File1->setModel(fileModel_);
    browser_.File1->setSelectionMode(QAbstractItemView::SingleSelection);
    browser_.File1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(browser_.File1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateLoadButtons(); });
    connect(browser_.File1, &QListView::doubleClicked, this, [this] { File1_doubleClicked(); });
}

QString SysexFileCommands::folder() const {
    return folder_;
}

void SysexFileCommands::setFolder(const QString& path) {
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    const QString drive = DriveOf(DriveRoots(), target);
    int driveIndex = browser_.Drive1->findText(drive);
    if (driveIndex < 0) {
        browser_.Drive1->addItem(drive);
        driveIndex = browser_.Drive1->count() - 1;
    }
    browser_.Drive1->setCurrentIndex(driveIndex);

    folder_ = target;
    dirModel_->setRootPath(drive);
    browser_.Dir1->setRootIndex(dirModel_->index(drive));
    const QModelIndex here = dirModel_->index(target);
    {
        const QSignalBlocker quiet(browser_.Dir1->selectionModel());
        browser_.Dir1->setCurrentIndex(here);
    }
    for (QModelIndex up = here.parent(); up.isValid(); up = up.parent())
        browser_.Dir1->expand(up);
    browser_.Dir1->scrollTo(here);
    RefreshFileList();
}

void SysexFileCommands::Drive1_activated(int index) {
    const QString drive = browser_.Drive1->itemText(index);
    if (!QDir(drive).isReadable()) {
        // A drive that cannot be read keeps the previous drive and folder.
        setFolder(folder_);
        return;
    }
    setFolder(drive);
}

void SysexFileCommands::Dir1_currentChanged(const QModelIndex& current) {
    if (!current.isValid())
        return;
    const QString path = dirModel_->filePath(current);
    if (path.isEmpty() || path == folder_)
        return;
    folder_ = path;
    RefreshFileList();
}

void SysexFileCommands::RefreshFileList() {
    QDir dir(folder_);
    const QStringList names =
        dir.entryList({QStringLiteral("*.syx")}, QDir::Files | QDir::Hidden | QDir::System,
                      QDir::Name | QDir::IgnoreCase);
    fileModel_->setStringList(names);
    browser_.File1->selectionModel()->clear();
    UpdateLoadButtons();
}

void SysexFileCommands::UpdateLoadButtons() {
    browser_.cmdLoadAll->setEnabled(fileCount() > 0);
    const bool selected = hasSelectedFile();
    browser_.cmdLoadInMatrix->setEnabled(selected);
    browser_.cmdLoadPatchlist->setEnabled(selected);
    browser_.cmdLoadPatchListMatrix->setEnabled(selected);
}

int SysexFileCommands::fileCount() const {
    return fileModel_->rowCount();
}

QString SysexFileCommands::fileNameAt(int row) const {
    return fileModel_->index(row, 0).data().toString();
}

void SysexFileCommands::selectFile(int row) {
    QItemSelectionModel* selection = browser_.File1->selectionModel();
    if (row < 0 || row >= fileCount()) {
        selection->clear();
        return;
    }
    const QModelIndex line = fileModel_->index(row, 0);
    selection->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
}

bool SysexFileCommands::hasSelectedFile() const {
    return browser_.File1->selectionModel()->hasSelection();
}

QString SysexFileCommands::selectedFileName() const {
    const QModelIndexList lines = browser_.File1->selectionModel()->selectedIndexes();
    return lines.isEmpty() ? QString() : lines.front().data().toString();
}

QString SysexFileCommands::selectedFilePath() const {
    const QString name = selectedFileName();
    return name.isEmpty() ? QString() : QDir(folder_).filePath(name);
}

void SysexFileCommands::File1_doubleClicked() {
    UpdateLoadButtons();
    if (hasSelectedFile())
        cmdLoadPatchListMatrix_clicked();
}

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
    const QString path = selectedFilePath();
    if (path.isEmpty())
        return;
    const LoadTarget target = !toLibrary ? LoadTarget::Matrix
                              : toMatrix ? LoadTarget::Both
                                         : LoadTarget::Library;
    const StepScope step(context_.librarian, labels::Load(selectedFileName(), target));
    browser_.File1->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    LetEventsRun(true);
    LoadSysexFile(path, toMatrix, toLibrary);
    browser_.File1->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

void SysexFileCommands::cmdLoadAll_clicked() {
    const StepScope step(context_.librarian, labels::LoadAll());
    // The browser stays put while every listed file loads, so the list cannot change under it.
    setBrowserEnabled(false);
    const int n = fileCount();
    for (int i = 0; i < n; ++i) {
        selectFile(i);
        LetEventsRun();
        LoadSysexFile(QDir(folder_).filePath(fileNameAt(i)), false, true);
    }
    setBrowserEnabled(true);
}

void SysexFileCommands::LetEventsRun(bool always) {
    if (!always && sincePump_.isValid() && sincePump_.elapsed() < kPumpMs)
        return;
    QCoreApplication::processEvents();
    sincePump_.start();
}

void SysexFileCommands::setBrowserEnabled(bool enabled) {
    browser_.Drive1->setEnabled(enabled);
    browser_.Dir1->setEnabled(enabled);
    browser_.File1->setEnabled(enabled);
}

bool SysexFileCommands::LoadSysexFile(const QString& path, bool toMatrix, bool toLibrary) {
    const FileBytes file = ReadFileBytes(path);
    if (!file.ok) {
        context_.prompter.tell(&window_,
                               QStringLiteral("The file cannot be read:") + kCR +
                                   QDir::toNativeSeparators(path) + kCR + kCR + file.error,
                               kAppTitle, QMessageBox::Warning);
        return false;
    }
    const std::vector<PatchRecord> pieces = ParseSysexPieces(file.bytes);

    if (toLibrary)
        window_.setLibraryListVisible(false);
    const int last = static_cast<int>(std::min<std::size_t>(pieces.empty() ? 0 : pieces.size() - 1,
                                                            static_cast<std::size_t>(INT_MAX)));
    window_.showProgress(std::max(last, 1));

    const LoadTarget target = !toLibrary ? LoadTarget::Matrix
                              : toMatrix ? LoadTarget::Both
                                         : LoadTarget::Library;
    // The bar moves at most once per screen frame: a synchronous repaint per piece would cost
    // more than the load itself and show nothing more.
    QElapsedTimer frame;
    frame.start();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i == 0 || frame.elapsed() >= kFrameMs) {
            window_.setProgress(static_cast<int>(std::min<std::size_t>(i, INT_MAX)));
            frame.restart();
        }
        LetEventsRun();
        if (pieces[i].empty())
            continue;
        LetEventsRun();
        context_.librarian.apply(pieces[i], target);
        LetEventsRun();
    }

    window_.setLibraryListVisible(true);
    window_.hideProgress();
    return true;
}

}  // namespace zanq
