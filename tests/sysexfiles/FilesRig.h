#pragma once
// A main window with the file pane installed, browsing a fresh scratch folder, and the small
// tools the file pane's tests share.

#include <sys/stat.h>

#include <QtTest>
#include <QtWidgets>
#include <cstdio>
#include <functional>

#include "model/DeepMindDialect.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"

namespace zanq::test {

// A main window with the file pane installed, browsing a fresh scratch folder.
struct Rig {
    QTemporaryDir dir;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    const Matrix& matrix = librarian.matrix();
    test::ScriptedPrompter prompter;
    AppContext context{librarian, prompter, dir.path()};
    frmMain window{context};
    test::MainUi ui{window};
    SysexFileCommands* files = nullptr;

    Rig() {
        InstallSysexFiles(window, context);
        files = window.findChild<SysexFileCommands*>();
    }
    QString write(const QString& name, const std::string& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), qint64(bytes.size()));
        return file.fileName();
    }
    void select(const QString& name) {
        files->RefreshFileList();
        for (int i = 0; i < files->fileCount(); ++i)
            if (files->fileNameAt(i) == name)
                files->selectFile(i);
    }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < files->fileCount(); ++i)
            names << files->fileNameAt(i);
        return names;
    }
    QString buttons() const {
        QString s;
        for (QPushButton* b :
             {ui.cmdLoadInMatrix, ui.cmdLoadPatchlist, ui.cmdLoadPatchListMatrix, ui.cmdLoadAll})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    void waitForLoad() { QTRY_VERIFY_WITH_TIMEOUT(!files->isLoading(), 20000); }
    QString count() const { return ui.StatusPanel[1]->text(); }
};

// Runs a check whenever the watched widget is shown.
struct OnShow : QObject {
    std::function<void()> check;
    OnShow(QWidget* widget, std::function<void()> c) : check(std::move(c)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            check();
        return false;
    }
};

inline std::string Series(const std::string& prefix, int bank, int n, int seed = 0) {
    std::string bytes;
    for (int p = 0; p < n; ++p)
        bytes += MakeRecord(prefix + std::to_string(p), bank, p, seed);
    return bytes;
}

// A file manager's drop; Shift held proposes a move.
inline bool Drop(QWidget* target, QPoint pos, const QList<QUrl>& urls,
                 Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMimeData mime;
    mime.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, &mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(pos, actions, &mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

}  // namespace zanq::test
