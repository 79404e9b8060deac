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
    window.addEditMenu(edit);
    return *history;
}

}  // namespace zanq
