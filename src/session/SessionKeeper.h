#pragma once
// The session that survives a crash, as the user meets it: the journal opens at start-up; when
// the last session ended without a normal quit, the program asks whether to bring back its
// Matrix and Patch Library; "Files > Restore last session" brings them back at any time; a
// normal quit marks the session as ended. When the journal cannot be kept the user is told
// once and the program works on without it.

#include <QObject>
#include <QString>
#include <memory>

class QAction;

namespace zanq {

class frmMain;
struct AppContext;
class SessionJournal;

class SessionKeeper : public QObject {
    Q_OBJECT
public:
    SessionKeeper(frmMain& window, AppContext& context, const QString& journalPath);
    ~SessionKeeper() override;

    // Opens the journal; says once when it cannot be kept. Then, when the last session ended
    // unexpectedly, asks whether to restore it.
    void start();
    // Brings back the last session's Matrix and Patch Library as one step.
    void restoreLastSession();
    // A normal quit: the journal is written out and marked as ended normally.
    void endNormally();

    QAction* restoreAction() const { return restore_; }
    SessionJournal& journal() { return *journal_; }

private:
    void tellCannotKeep(const QString& error);
    void updateRestoreAction();

    frmMain& window_;
    AppContext& context_;
    std::unique_ptr<SessionJournal> journal_;
    QAction* restore_ = nullptr;
    bool told_ = false;
};

// Where the journal lives: "session.sqlite" in the program's data folder
// (QStandardPaths::AppDataLocation).
QString DefaultJournalPath();

// Keeps the session in the default journal, for as long as the window lives.
SessionKeeper& KeepSession(frmMain& window, AppContext& context,
                           const QString& journalPath = DefaultJournalPath());

}  // namespace zanq
