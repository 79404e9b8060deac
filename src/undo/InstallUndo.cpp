#include "undo/InstallUndo.h"

#include <QMenu>
#include <QMenuBar>

#include "shell/frmMain.h"
#include "undo/UndoHistory.h"

namespace zanq {

UndoHistory& InstallUndo(frmMain& window, AppContext& context) {
    auto* history = new UndoHistory(context.librarian, &window);
    auto* edit = new QMenu(QStringLiteral("Edit"), window.menuBar());
    edit->setObjectName(QStringLiteral("mnuEdit"));
    edit->addAction(history->undoAction());
    edit->addAction(history->redoAction());
    // The actions belong to the window as well, so their shortcuts work with the menu closed.
    window.addAction(history->undoAction());
    window.addAction(history->redoAction());
    auto* utils = window.menuBar()->findChild<QMenu*>(QStringLiteral("mnuUtils"));
    if (utils)
        window.menuBar()->insertMenu(utils->menuAction(), edit);
    else
        window.menuBar()->addMenu(edit);
    return *history;
}

}  // namespace zanq
