#pragma once
// Undo and redo over the Librarian's steps: every step it records goes on a QUndoStack (the
// last 200 are kept), and undoing or redoing one asks the Librarian to replay it, so the grid,
// the library list and the journal follow as they follow any change. The two actions read
// "Undo <step>" and "Redo <step>" and stay disabled while a command's step is still open.

#include <QObject>

#include "model/Librarian.h"

class QAction;
class QUndoStack;

namespace zanq {

class UndoHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepsKept = 200;

    explicit UndoHistory(Librarian& librarian, QObject* parent = nullptr);
    ~UndoHistory() override;

    QUndoStack& stack() { return *stack_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

    // Nothing happens while a step is open.
    void undo();
    void redo();

private:
    void updateActions();

    Librarian& librarian_;
    QUndoStack* stack_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace zanq
