#include "sysexfiles/SysexFileBrowser.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStorageInfo>
#include <QStringListModel>
#include <QTimer>
#include <QTreeView>

#include "sysexfiles/FolderIconProvider.h"

namespace zanq {

namespace {
const QString kFolderKey = QStringLiteral("browser/folder");
// Other programs write a file in several steps: the list is read again once they pause.
constexpr int kSettleMs = 150;
// Dir1's folders arrive a folder at a time and are sorted a moment later.
constexpr int kInSightMs = 50;

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

SysexFileBrowser::SysexFileBrowser(frmMain& window, const QString& startFolder)
    : QObject(&window), window_(window), browser_(window.fileBrowser()) {
    buildBrowser();
    // Whoever writes into the folder says so; the list then shows what is there.
    connect(&window_, &frmMain::filesChanged, this, &SysexFileBrowser::RefreshFileList);
    // Dir1 reads the disk a folder at a time and measures every name it shows: the window is
    // seen first, the folder tree fills a moment later.
    connect(&window_, &frmMain::firstPainted, this, &SysexFileBrowser::buildFolderTree);
    setFolder(startFolder);
}

SysexFileBrowser::~SysexFileBrowser() = default;

void SysexFileBrowser::buildBrowser() {
    browser_.Drive1->addItems(DriveRoots());
    connect(browser_.Drive1, &QComboBox::activated, this, &SysexFileBrowser::Drive1_activated);

    fileModel_ = new QStringListModel(this);
    browser_.File1->setModel(fileModel_);
    browser_.File1->setSelectionMode(QAbstractItemView::SingleSelection);
    browser_.File1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(browser_.File1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateLoadButtons(); });
    connect(browser_.File1, &QListView::doubleClicked, this, [this] {
        UpdateLoadButtons();
        if (hasSelectedFile())
            emit fileDoubleClicked();
    });

    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, &SysexFileBrowser::followFolder);
}

void SysexFileBrowser::buildFolderTree() {
    if (dirModel_)
        return;
    folderIcons_ = std::make_unique<FolderIconProvider>();
    dirModel_ = std::make_unique<QFileSystemModel>();
    dirModel_->setIconProvider(folderIcons_.get());
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setReadOnly(true);
    QTreeView* dir = browser_.Dir1;
    dir->setModel(dirModel_.get());
    for (int column = 1; column < dirModel_->columnCount(); ++column)
        dir->hideColumn(column);
    // Long folder names are shown whole: the tree scrolls sideways instead of cutting them.
    dir->header()->setStretchLastSection(false);
    dir->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    dir->setTextElideMode(Qt::ElideNone);
    dir->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    inSight_ = new QTimer(this);
    inSight_->setSingleShot(true);
    inSight_->setInterval(kInSightMs);
    connect(inSight_, &QTimer::timeout, this, &SysexFileBrowser::keepCurrentFolderInSight);
    connect(dirModel_.get(), &QFileSystemModel::directoryLoaded, inSight_,
            qOverload<>(&QTimer::start));
    connect(dir->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { Dir1_currentChanged(current); });
    showFolderInTree();
}

void SysexFileBrowser::keepCurrentFolderInSight() {
    QTreeView* dir = browser_.Dir1;
    dir->scrollTo(dir->currentIndex());
    // Deep folders sit far to the right: scroll sideways so that the name starts at the left.
    const QRect line = dir->visualRect(dir->currentIndex());
    if (line.isValid())
        dir->horizontalScrollBar()->setValue(dir->horizontalScrollBar()->value() + line.left() -
                                             dir->indentation());
}

QString SysexFileBrowser::folder() const {
    return folder_;
}

void SysexFileBrowser::setFolder(const QString& path) {
    folder_ = QDir::cleanPath(QDir(path).absolutePath());
    const QString drive = DriveOf(DriveRoots(), folder_);
    int driveIndex = browser_.Drive1->findText(drive);
    if (driveIndex < 0) {
        browser_.Drive1->addItem(drive);
        driveIndex = browser_.Drive1->count() - 1;
    }
    browser_.Drive1->setCurrentIndex(driveIndex);
    showFolderInTree();
    folderShown();
}

void SysexFileBrowser::showFolderInTree() {
    if (!dirModel_)
        return;
    const QString drive = browser_.Drive1->currentText();
    dirModel_->setRootPath(drive);
    browser_.Dir1->setRootIndex(dirModel_->index(drive));
    const QModelIndex here = dirModel_->index(folder_);
    {
        const QSignalBlocker quiet(browser_.Dir1->selectionModel());
        browser_.Dir1->setCurrentIndex(here);
    }
    for (QModelIndex up = here.parent(); up.isValid(); up = up.parent())
        browser_.Dir1->expand(up);
    inSight_->start();
}

void SysexFileBrowser::Drive1_activated(int index) {
    const QString drive = browser_.Drive1->itemText(index);
    if (!QDir(drive).isReadable()) {
        // A drive that cannot be read keeps the previous drive and folder.
        setFolder(folder_);
        return;
    }
    setFolder(drive);
}

void SysexFileBrowser::Dir1_currentChanged(const QModelIndex& current) {
    if (!current.isValid())
        return;
    const QString path = dirModel_->filePath(current);
    if (path.isEmpty() || path == folder_)
        return;
    folder_ = path;
    folderShown();
}

void SysexFileBrowser::folderShown() {
    browser_.Dir1->setToolTip(QDir::toNativeSeparators(folder_));
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    watcher_->addPath(folder_);
    if (settings_)
        settings_->setValue(kFolderKey, folder_);
    RefreshFileList();
}

void SysexFileBrowser::rememberFolderIn(QSettings& settings) {
    settings_ = &settings;
    const QString last = settings.value(kFolderKey).toString();
    if (!last.isEmpty() && QDir(last).exists())
        setFolder(last);
    else
        settings.setValue(kFolderKey, folder_);
}

void SysexFileBrowser::RefreshFileList() {
    showEntries(ListSysexFiles(folder_));
    browser_.File1->selectionModel()->clear();
    UpdateLoadButtons();
}

void SysexFileBrowser::followFolder() {
    if (loading_) {
        changedWhileLoading_ = true;
        return;
    }
    std::vector<SysexFileEntry> entries = ListSysexFiles(folder_);
    if (entries == entries_)
        return;
    const QByteArray selected = hasSelectedFile() ? fileAt(selectedRow()).nativeName : QByteArray();
    showEntries(std::move(entries));
    int row = -1;
    for (int i = 0; i < fileCount() && !selected.isEmpty(); ++i)
        if (entries_[static_cast<std::size_t>(i)].nativeName == selected)
            row = i;
    selectFile(row);
    UpdateLoadButtons();
}

void SysexFileBrowser::showEntries(std::vector<SysexFileEntry> entries) {
    entries_ = std::move(entries);
    QStringList names;
    names.reserve(static_cast<qsizetype>(entries_.size()));
    for (const SysexFileEntry& entry : entries_)
        names.append(entry.name);
    fileModel_->setStringList(names);
}

void SysexFileBrowser::setLoading(bool loading) {
    loading_ = loading;
    UpdateLoadButtons();
    if (!loading_ && changedWhileLoading_) {
        changedWhileLoading_ = false;
        followFolder();
    }
}

void SysexFileBrowser::UpdateLoadButtons() {
    browser_.cmdLoadAll->setEnabled(fileCount() > 0 && !loading_);
    const bool selected = hasSelectedFile() && !loading_;
    browser_.cmdLoadInMatrix->setEnabled(selected);
    browser_.cmdLoadPatchlist->setEnabled(selected);
    browser_.cmdLoadPatchListMatrix->setEnabled(selected);
}

int SysexFileBrowser::fileCount() const {
    return static_cast<int>(entries_.size());
}

QString SysexFileBrowser::fileNameAt(int row) const {
    return fileAt(row).name;
}

const SysexFileEntry& SysexFileBrowser::fileAt(int row) const {
    return entries_.at(static_cast<std::size_t>(row));
}

void SysexFileBrowser::selectFile(int row) {
    QItemSelectionModel* selection = browser_.File1->selectionModel();
    if (row < 0 || row >= fileCount()) {
        selection->clear();
        return;
    }
    selection->setCurrentIndex(fileModel_->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

bool SysexFileBrowser::hasSelectedFile() const {
    return browser_.File1->selectionModel()->hasSelection();
}

QString SysexFileBrowser::selectedFileName() const {
    return hasSelectedFile() ? fileNameAt(selectedRow()) : QString();
}

QString SysexFileBrowser::selectedFilePath() const {
    return hasSelectedFile() ? QDir(folder_).filePath(selectedFileName()) : QString();
}

QByteArray SysexFileBrowser::selectedNativePath() const {
    return hasSelectedFile() ? NativePath(folder_, fileAt(selectedRow()).nativeName) : QByteArray();
}

int SysexFileBrowser::selectedRow() const {
    const QModelIndexList lines = browser_.File1->selectionModel()->selectedIndexes();
    return lines.isEmpty() ? -1 : lines.front().row();
}

}  // namespace zanq
