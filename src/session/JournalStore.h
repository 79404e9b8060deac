#pragma once
// The session journal's SQLite file: every session's Matrix slots and library entries, keyed
// by session, with a mark for the sessions that ended through a normal quit. Write-ahead
// logging and NORMAL synchronisation keep each commit small; a power cut loses at most the last
// commits, never the file. Not thread-safe: one thread opens, uses and destroys it.
//
// Format version 1 (PRAGMA user_version):
//   sessions(id, started, ended_normally)
//   matrix(session, slot 0..1023, record)     only filled slots
//   library(session, entry 1.., record)       every entry, emptied ones as empty records

#include <QString>
#include <optional>
#include <vector>

#include "model/ChangeSet.h"
#include "model/StoreContents.h"

namespace zanq {

class JournalStore {
public:
    static constexpr int kFormatVersion = 1;

    enum class Problem { None, Unwritable, Locked, Newer, Damaged };

    struct Opened {
        Problem problem = Problem::None;
        QString error;  // what went wrong, in the database's words
        // The newest earlier session that held something, if any.
        std::optional<qint64> lastSession;
        bool lastEndedUnexpectedly = false;
    };

    explicit JournalStore(QString path);
    ~JournalStore();
    JournalStore(const JournalStore&) = delete;
    JournalStore& operator=(const JournalStore&) = delete;

    // Opens or creates the file, keeps only the last session that held something, and starts
    // a new one that the writes go to.
    Opened open();
    // All the changes in one transaction; false (nothing written) on failure, see error().
    bool write(const std::vector<ChangeSetPtr>& changes);
    // A session's stores; nothing when they cannot be read back whole.
    std::optional<StoreContents> read(qint64 session);
    // The current session ends through a normal quit.
    bool markEndedNormally();
    // Closes the file and moves it aside (with its log) so that the next start begins afresh.
    void setAside();
    QString error() const { return error_; }

private:
    bool exec(const QString& sql);
    Problem problemOf(const QString& nativeCode) const;
    bool createSchema();
    bool startSession(Opened& opened);
    void close();

    QString path_;
    QString connection_;
    qint64 session_ = 0;
    QString error_;
};

}  // namespace zanq
