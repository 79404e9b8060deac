#include "undo/UndoHistory.h"

#include <QAction>
#include <QUndoStack>

namespace zanq {

namespace {
// One recorded step. It is already done when it reaches the stack, so the push's own redo
// does nothing.
class LibrarianStep : public QUndoCommand {
public:
    LibrarianStep(Librarian& librarian, ChangeSetPtr step)
        : QUndoCommand(step->label), librarian_(librarian), step_(std::move(step)) {}

    void undo() override { librarian_.undoStep(step_); }
    void redo() override {
        if (pushed_)
            librarian_.redoStep(step_);
        pushed_ = true;
    }

private:
    Librarian& librarian_;
    ChangeSetPtr step_;
    bool pushed_ = false;
};
}  // namespace

UndoHistory::UndoHistory(Librarian& librarian, QObject* parent)
    : QObject(parent), librarian_(librarian), stack_(new QUndoStack(this)) {
    setObjectName(QStringLiteral("UndoHistory"));
    stack_->setUndoLimit(kStepsKept);

    undo_ = new QAction(this);
    undo_->setObjectName(QStringLiteral("mnuUndo"));
    undo_->setShortcuts(QKeySequence::Undo);
    redo_ = new QAction(this);
    redo_->setObjectName(QStringLiteral("mnuRedo"));
    redo_->setShortcuts(QKeySequence::Redo);
    connect(undo_, &QAction::triggered, this, &UndoHistory::undo);
    connect(redo_, &QAction::triggered, this, &UndoHistory::redo);

    connect(&librarian_, &Librarian::stepRecorded, this, [this](ChangeSetPtr step) {
        stack_->push(new LibrarianStep(librarian_, std::move(step)));
    });
    connect(&librarian_, &Librarian::stepOpenChanged, this, &UndoHistory::updateActions);
    connect(stack_, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
    updateActions();
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::undo() {
    if (!librarian_.stepOpen())
        stack_->undo();
}

void UndoHistory::redo() {
    if (!librarian_.stepOpen())
        stack_->redo();
}

void UndoHistory::updateActions() {
    const bool idle = !librarian_.stepOpen();
    undo_->setEnabled(idle && stack_->canUndo());
    redo_->setEnabled(idle && stack_->canRedo());
    undo_->setText(stack_->canUndo() ? QStringLiteral("Undo ") + stack_->undoText()
                                     : QStringLiteral("Undo"));
    redo_->setText(stack_->canRedo() ? QStringLiteral("Redo ") + stack_->redoText()
                                     : QStringLiteral("Redo"));
}

}  // namespace zanq
