#include "session/SessionJournal.h"

#include <QDir>
#include <QFileInfo>

namespace zanq {

namespace {
// What the stores hold now, as a change from empty stores: the first write of a session.
ChangeSetPtr AsChangeFromEmpty(const StoreContents& contents) {
    auto change = std::make_shared<ChangeSet>();
    for (std::size_t i = 0; i < contents.matrix.size(); ++i)
        if (!contents.matrix[i].empty())
            change->matrix.push_back(
                {Slot::fromIndex(static_cast<int>(i)), PatchRecord(), contents.matrix[i]});
    for (std::size_t i = 0; i < contents.library.size(); ++i)
        change->library.push_back({i + 1, std::nullopt, contents.library[i]});
    return change;
}

// Why a journal cannot be kept, for the user.
QString ProblemText(JournalStore::Problem problem, const QString& detail, const QString& path) {
    switch (problem) {
        case JournalStore::Problem::Locked:
            return QStringLiteral("Another program is using it (%1).").arg(detail);
        case JournalStore::Problem::Newer:
            return QStringLiteral("It was written by a newer version of ZANQ Librarian (%1).")
                .arg(detail);
        case JournalStore::Problem::Damaged:
            return QStringLiteral(
                       "It is damaged (%1). It has been moved aside to %2, and the next "
                       "start begins a new one.")
                .arg(detail, QFileInfo(path).fileName() + QStringLiteral(".damaged"));
        default:
            return QStringLiteral("It cannot be written (%1).").arg(detail);
    }
}
}  // namespace

SessionJournal::SessionJournal(Librarian& librarian, const QString& path, QObject* parent)
    : QObject(parent), librarian_(librarian), path_(path), lock_(path + QStringLiteral(".lock")) {
    // Only a lock whose process has gone is stale, however long the session runs.
    lock_.setStaleLockTime(0);
    thread_.setObjectName(QStringLiteral("SessionJournal"));
    writer_ = new QObject;
    writer_->moveToThread(&thread_);
    thread_.start();
}

SessionJournal::~SessionJournal() {
    stop(false);
    thread_.quit();
    thread_.wait();
    delete writer_;
}

template <typename Work>
void SessionJournal::onWriter(Work&& work) {
    QMetaObject::invokeMethod(writer_, std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

bool SessionJournal::open() {
    if (writing_ || stopped_)
        return writing_;
    QFileInfo(path_).absoluteDir().mkpath(QStringLiteral("."));
    if (!lock_.tryLock(0)) {
        const bool held = lock_.error() == QLockFile::LockFailedError;
        opened_.problem = held ? JournalStore::Problem::Locked : JournalStore::Problem::Unwritable;
        opened_.error =
            held ? QStringLiteral("Another ZANQ Librarian is keeping its session there.")
                 : ProblemText(opened_.problem,
                               QStringLiteral("no lock file can be made in its folder"), path_);
        stopped_ = true;
        return false;
    }
    onWriter([this] {
        store_ = std::make_unique<JournalStore>(path_);
        opened_ = store_->open();
        if (opened_.problem == JournalStore::Problem::Damaged)
            store_->setAside();
        if (opened_.problem != JournalStore::Problem::None)
            store_.reset();
    });
    if (opened_.problem != JournalStore::Problem::None) {
        opened_.error = ProblemText(opened_.problem, opened_.error, path_);
        stopped_ = true;
        lock_.unlock();
        return false;
    }
    writing_ = true;
    const StoreContents now = librarian_.contents();
    if (!now.empty())
        follow(AsChangeFromEmpty(now));
    connect(&librarian_, &Librarian::changed, this, &SessionJournal::follow);
    return true;
}

bool SessionJournal::isOpen() const {
    QMutexLocker locker(&mutex_);
    return writing_ && !stopped_;
}

std::optional<StoreContents> SessionJournal::readLastSession() {
    std::optional<StoreContents> contents;
    if (!isOpen() || !opened_.lastSession)
        return contents;
    onWriter([this, &contents] {
        if (store_)
            contents = store_->read(*opened_.lastSession);
    });
    return contents;
}

void SessionJournal::follow(ChangeSetPtr change) {
    QMutexLocker locker(&mutex_);
    if (stopped_)
        return;
    pending_.push_back(std::move(change));
    if (writePosted_)
        return;
    writePosted_ = true;
    QMetaObject::invokeMethod(
        writer_, [this] { writePending(); }, Qt::QueuedConnection);
}

void SessionJournal::writePending() {
    std::vector<ChangeSetPtr> batch;
    {
        QMutexLocker locker(&mutex_);
        batch.swap(pending_);
        writePosted_ = false;
    }
    if (batch.empty() || !store_)
        return;
    if (store_->write(batch))
        return;
    const QString error = store_->error();
    store_.reset();
    {
        QMutexLocker locker(&mutex_);
        stopped_ = true;
        pending_.clear();
    }
    emit failed(error);
}

void SessionJournal::waitForWrites() {
    if (writing_)
        onWriter([this] { writePending(); });
}

void SessionJournal::endNormally() {
    stop(true);
}

void SessionJournal::stop(bool endedNormally) {
    if (!writing_)
        return;
    writing_ = false;
    disconnect(&librarian_, &Librarian::changed, this, &SessionJournal::follow);
    onWriter([this, endedNormally] {
        writePending();
        if (store_ && endedNormally)
            store_->markEndedNormally();
        store_.reset();
    });
    {
        QMutexLocker locker(&mutex_);
        stopped_ = true;
    }
    lock_.unlock();
}

}  // namespace zanq
