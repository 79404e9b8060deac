#pragma once
// Keeps the Librarian's stores in the journal file as they change, without holding up the
// window: each change the Librarian announces is queued here and written by a thread of its
// own, whatever has queued up meanwhile in one transaction. A lock file next to the journal
// keeps a second running program away from it.

#include <QLockFile>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <memory>
#include <optional>
#include <vector>

#include "model/Librarian.h"
#include "session/JournalStore.h"

namespace zanq {

class SessionJournal : public QObject {
    Q_OBJECT
public:
    SessionJournal(Librarian& librarian, const QString& path, QObject* parent = nullptr);
    // Writes what is queued and closes the file; the session is not marked as ended normally.
    ~SessionJournal() override;

    // Opens the file and starts following the Librarian. False when the session cannot be
    // kept; problem() and error() then say why, and nothing is ever written.
    bool open();
    JournalStore::Problem problem() const { return opened_.problem; }
    QString error() const { return opened_.error; }
    // True from a successful open until a write fails or the session ends.
    bool isOpen() const;

    bool hasLastSession() const { return opened_.lastSession.has_value(); }
    bool lastEndedUnexpectedly() const { return opened_.lastEndedUnexpectedly; }
    // What the last session held; nothing when there is none or it cannot be read back.
    std::optional<StoreContents> readLastSession();

    // Returns once everything queued so far is written.
    void waitForWrites();
    // Writes what is queued, marks the session as ended normally and closes the file.
    void endNormally();

    QString path() const { return path_; }

signals:
    // A write failed; nothing more is written this session.
    void failed(const QString& error);

private:
    void follow(ChangeSetPtr change);
    void writePending();  // on the writer thread
    // Runs work on the writer thread and waits for it.
    template <typename Work>
    void onWriter(Work&& work);
    void stop(bool endedNormally);

    Librarian& librarian_;
    QString path_;
    QLockFile lock_;
    QThread thread_;
    QObject* writer_ = nullptr;            // lives on thread_
    std::unique_ptr<JournalStore> store_;  // used only on thread_
    JournalStore::Opened opened_;
    bool writing_ = false;

    mutable QMutex mutex_;
    std::vector<ChangeSetPtr> pending_;
    bool writePosted_ = false;
    bool stopped_ = false;
};

}  // namespace zanq
