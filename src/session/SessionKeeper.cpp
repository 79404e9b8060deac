#include "session/SessionKeeper.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "model/StepLabels.h"
#include "session/SessionJournal.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {
const QString kRestoreQuestion =
    QStringLiteral("The last session ended unexpectedly. Restore its Matrix and Patch Library?");
}

SessionKeeper::SessionKeeper(frmMain& window, AppContext& context, const QString& journalPath)
    : QObject(&window),
      window_(window),
      context_(context),
      journal_(std::make_unique<SessionJournal>(context.librarian, journalPath)) {
    setObjectName(QStringLiteral("SessionKeeper"));
    restore_ = new QAction(QStringLiteral("Restore last session"), this);
    restore_->setObjectName(QStringLiteral("mnuRestoreSession"));
    connect(restore_, &QAction::triggered, this, &SessionKeeper::restoreLastSession);
    window.addFilesEntry(restore_);
    connect(journal_.get(), &SessionJournal::failed, this, &SessionKeeper::tellCannotKeep);
    connect(&context.librarian, &Librarian::stepOpenChanged, this,
            &SessionKeeper::updateRestoreAction);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &SessionKeeper::endNormally);
    updateRestoreAction();
}

SessionKeeper::~SessionKeeper() = default;

void SessionKeeper::start() {
    if (!journal_->open())
        tellCannotKeep(journal_->error());
    updateRestoreAction();
    if (journal_->lastEndedUnexpectedly() &&
        context_.prompter.askYesNo(&window_, kRestoreQuestion, kAppTitle, QMessageBox::Question))
        restoreLastSession();
}

void SessionKeeper::restoreLastSession() {
    if (context_.librarian.stepOpen())
        return;
    const std::optional<StoreContents> last = journal_->readLastSession();
    if (!last) {
        context_.prompter.tell(&window_,
                               QStringLiteral("The last session cannot be read back from ") +
                                   QDir::toNativeSeparators(journal_->path()) + QStringLiteral("."),
                               kAppTitle, QMessageBox::Warning);
        return;
    }
    context_.librarian.restore(*last, labels::RestoreSession());
}

void SessionKeeper::endNormally() {
    journal_->endNormally();
    updateRestoreAction();
}

void SessionKeeper::tellCannotKeep(const QString& error) {
    updateRestoreAction();
    if (std::exchange(told_, true))
        return;
    context_.prompter.tell(
        &window_,
        QStringLiteral("The session cannot be kept in ") +
            QDir::toNativeSeparators(journal_->path()) + QStringLiteral(" :") + kCR + kCR + error +
            kCR + kCR +
            QStringLiteral("The program works on, but what you arrange will not survive a crash."),
        kAppTitle, QMessageBox::Warning);
}

void SessionKeeper::updateRestoreAction() {
    restore_->setEnabled(journal_->isOpen() && journal_->hasLastSession() &&
                         !context_.librarian.stepOpen());
}

QString DefaultJournalPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("session.sqlite"));
}

SessionKeeper& KeepSession(frmMain& window, AppContext& context, const QString& journalPath) {
    auto* keeper = new SessionKeeper(window, context, journalPath);
    keeper->start();
    return *keeper;
}

}  // namespace zanq
