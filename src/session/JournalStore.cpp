#include "session/JournalStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

namespace zanq {

namespace {
// SQLite's primary result codes that say what kind of trouble a file is in.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

std::atomic<int> connections{0};

QByteArray Blob(const PatchRecord& record) {
    // Bound only for the length of the statement, while the change set holds the bytes.
    return QByteArray::fromRawData(record.data(), static_cast<qsizetype>(record.size()));
}
}  // namespace

JournalStore::JournalStore(QString path)
    : path_(std::move(path)),
      connection_(QStringLiteral("zanq-journal-%1").arg(connections.fetch_add(1))) {}

JournalStore::~JournalStore() {
    close();
}

void JournalStore::close() {
    if (!QSqlDatabase::contains(connection_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

JournalStore::Problem JournalStore::problemOf(const QString& nativeCode) const {
    const int code = nativeCode.toInt() & 0xFF;  // extended codes carry the primary one low
    if (code == kBusy || code == kLocked)
        return Problem::Locked;
    if (code == kCorrupt || code == kNotADatabase)
        return Problem::Damaged;
    return Problem::Unwritable;
}

bool JournalStore::exec(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(sql))
        return true;
    error_ = query.lastError().text();
    return false;
}

JournalStore::Opened JournalStore::open() {
    Opened opened;
    const auto fail = [&](Problem problem, QString error) {
        opened.problem = problem;
        opened.error = std::move(error);
        error_ = opened.error;
        return opened;
    };
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(Problem::Unwritable, QStringLiteral("its folder cannot be made"));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    // Another program holding the file must not hold up the window for long.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
    if (!db.open())
        return fail(problemOf(db.lastError().nativeErrorCode()), db.lastError().text());

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(problemOf(query.lastError().nativeErrorCode()), query.lastError().text());
    const int version = query.value(0).toInt();
    if (version > kFormatVersion)
        return fail(
            Problem::Newer,
            QStringLiteral("format %1, this program reads %2").arg(version).arg(kFormatVersion));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return fail(problemOf(query.lastError().nativeErrorCode()), query.lastError().text());
    if (query.value(0).toString() != QLatin1String("ok"))
        return fail(Problem::Damaged, query.value(0).toString());
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next() ||
        query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return fail(problemOf(query.lastError().nativeErrorCode()),
                    query.lastError().text().isEmpty()
                        ? QStringLiteral("no write-ahead log in its folder")
                        : query.lastError().text());
    query.finish();
    if (!exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
        return fail(Problem::Unwritable, error_);
    if (version == 0 && !createSchema())
        return fail(Problem::Unwritable, error_);
    if (!startSession(opened))
        return fail(Problem::Unwritable, error_);
    return opened;
}

bool JournalStore::createSchema() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    return db.transaction() &&
           exec(QStringLiteral(
               "CREATE TABLE IF NOT EXISTS sessions(id INTEGER PRIMARY KEY, "
               "started TEXT NOT NULL, ended_normally INTEGER NOT NULL DEFAULT 0)")) &&
           exec(QStringLiteral("CREATE TABLE IF NOT EXISTS matrix(session INTEGER NOT NULL, "
                               "slot INTEGER NOT NULL, record BLOB, PRIMARY KEY(session, slot)) "
                               "WITHOUT ROWID")) &&
           exec(QStringLiteral("CREATE TABLE IF NOT EXISTS library(session INTEGER NOT NULL, "
                               "entry INTEGER NOT NULL, record BLOB, PRIMARY KEY(session, entry)) "
                               "WITHOUT ROWID")) &&
           exec(QStringLiteral("PRAGMA user_version=%1").arg(kFormatVersion)) && db.commit();
}

bool JournalStore::startSession(Opened& opened) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT MAX(id) FROM sessions")) || !query.next()) {
        error_ = query.lastError().text();
        return false;
    }
    const qint64 newest = query.value(0).toLongLong();
    if (!query.exec(QStringLiteral(
            "SELECT id, ended_normally FROM sessions s WHERE "
            "EXISTS(SELECT 1 FROM matrix m WHERE m.session = s.id) OR "
            "EXISTS(SELECT 1 FROM library l WHERE l.session = s.id) ORDER BY id DESC LIMIT 1"))) {
        error_ = query.lastError().text();
        return false;
    }
    if (query.next()) {
        opened.lastSession = query.value(0).toLongLong();
        opened.lastEndedUnexpectedly = *opened.lastSession == newest && query.value(1).toInt() == 0;
    }
    query.finish();
    const QString keep = QString::number(opened.lastSession.value_or(-1));
    if (!db.transaction() ||
        !exec(QStringLiteral("DELETE FROM matrix WHERE session <> %1").arg(keep)) ||
        !exec(QStringLiteral("DELETE FROM library WHERE session <> %1").arg(keep)) ||
        !exec(QStringLiteral("DELETE FROM sessions WHERE id <> %1").arg(keep)))
        return false;
    query.prepare(QStringLiteral("INSERT INTO sessions(started) VALUES(?)"));
    query.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!query.exec()) {
        error_ = query.lastError().text();
        db.rollback();
        return false;
    }
    session_ = query.lastInsertId().toLongLong();
    return db.commit();
}

bool JournalStore::write(const std::vector<ChangeSetPtr>& changes) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        error_ = db.lastError().text();
        return false;
    }
    QSqlQuery putSlot(db), dropSlot(db), putEntry(db), dropEntry(db);
    putSlot.prepare(QStringLiteral("INSERT OR REPLACE INTO matrix VALUES(?, ?, ?)"));
    dropSlot.prepare(QStringLiteral("DELETE FROM matrix WHERE session = ? AND slot = ?"));
    putEntry.prepare(QStringLiteral("INSERT OR REPLACE INTO library VALUES(?, ?, ?)"));
    dropEntry.prepare(QStringLiteral("DELETE FROM library WHERE session = ? AND entry = ?"));
    const auto run = [&](QSqlQuery& query, qint64 key, const PatchRecord* record) {
        query.bindValue(0, session_);
        query.bindValue(1, key);
        if (record)
            query.bindValue(2, Blob(*record));
        if (query.exec())
            return true;
        error_ = query.lastError().text();
        return false;
    };
    bool ok = true;
    for (const ChangeSetPtr& change : changes) {
        for (const SlotChange& slot : change->matrix) {
            const qint64 key = slot.slot.index();
            ok = ok && (slot.after.empty() ? run(dropSlot, key, nullptr)
                                           : run(putSlot, key, &slot.after));
        }
        for (const LibraryChange& entry : change->library) {
            const auto key = static_cast<qint64>(entry.index);
            ok = ok &&
                 (entry.after ? run(putEntry, key, &*entry.after) : run(dropEntry, key, nullptr));
        }
    }
    if (ok && db.commit())
        return true;
    if (ok)
        error_ = db.lastError().text();
    db.rollback();
    return false;
}

std::optional<StoreContents> JournalStore::read(qint64 session) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    StoreContents contents;
    query.prepare(QStringLiteral("SELECT slot, record FROM matrix WHERE session = ?"));
    query.addBindValue(session);
    if (!query.exec())
        return std::nullopt;
    while (query.next()) {
        const qint64 slot = query.value(0).toLongLong();
        if (slot < 0 || slot >= static_cast<qint64>(contents.matrix.size()))
            return std::nullopt;
        contents.matrix[static_cast<std::size_t>(slot)] =
            query.value(1).toByteArray().toStdString();
    }
    query.prepare(
        QStringLiteral("SELECT entry, record FROM library WHERE session = ? "
                       "ORDER BY entry"));
    query.addBindValue(session);
    if (!query.exec())
        return std::nullopt;
    while (query.next()) {
        // Entries run 1, 2, 3... without a gap, as the library numbers them.
        if (query.value(0).toLongLong() != static_cast<qint64>(contents.library.size()) + 1)
            return std::nullopt;
        contents.library.push_back(query.value(1).toByteArray().toStdString());
    }
    return contents;
}

bool JournalStore::markEndedNormally() {
    return exec(
        QStringLiteral("UPDATE sessions SET ended_normally = 1 WHERE id = %1").arg(session_));
}

void JournalStore::setAside() {
    close();
    const QString aside = path_ + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path_, aside);
    QFile::remove(path_ + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
}

}  // namespace zanq
