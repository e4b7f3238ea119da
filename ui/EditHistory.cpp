#include "ui/EditHistory.h"

#include <QAction>
#include <algorithm>

#include "config/CaptionTable.h"
#include "edit/SceneList.h"
#include "ui/SceneListStep.h"

namespace {

// Point marks are the controller's working state: a step that changed nothing else is still a
// step, so that undo brings the marks back, but no row value.
bool SameRows(const SceneListState& a, const SceneListState& b) {
    return std::equal(a.rows.begin(), a.rows.end(), b.rows.begin(), b.rows.end(),
                      [](const Scene& x, const Scene& y) {
                          return x.Copy() == y.Copy() && x.pointMarks == y.pointMarks;
                      });
}

}  // namespace

EditHistory::EditHistory(SceneList& list, const CaptionTable& captions, QObject* parent)
    : QObject(parent), list_(list), captions_(captions) {
    stack_.setUndoLimit(kStepLimit);
    clock_.start();
    ticks_ = [this] { return clock_.elapsed(); };
    // A save (or a load) leaves the list unmodified: the state it has now is the saved one.
    connect(&list_, &SceneList::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            stack_.setClean();
    });
    connect(&stack_, &QUndoStack::indexChanged, this, &EditHistory::UpdateActions);
    connect(&stack_, &QUndoStack::undoTextChanged, this, &EditHistory::UpdateActions);
    connect(&stack_, &QUndoStack::redoTextChanged, this, &EditHistory::UpdateActions);
}

EditHistory::~EditHistory() {
    // The stack lets its steps go after this object's own members: it must not call back.
    disconnect(&stack_, nullptr, this, nullptr);
}

void EditHistory::Perform(EditStep step, const std::function<void()>& change) {
    if (performing_) {
        change();
        return;
    }
    SceneListState before = list_.State();
    performing_ = true;
    change();
    performing_ = false;
    SceneListState after = list_.State();
    if (SameRows(before, after))
        return;
    const QString name = EditStepName(step, before, after, captions_);
    stack_.push(
        new SceneListStep(list_, step, std::move(before), std::move(after), ticks_(), name));
}

void EditHistory::Undo() {
    if (!stack_.canUndo())
        return;
    stack_.undo();
    list_.SetModified(ChangedSinceSaved());
}

void EditHistory::Redo() {
    if (!stack_.canRedo())
        return;
    stack_.redo();
    list_.SetModified(ChangedSinceSaved());
}

void EditHistory::Clear() {
    stack_.clear();
    if (list_.modified())
        stack_.resetClean();
}

bool EditHistory::ChangedSinceSaved() const {
    const int saved = stack_.cleanIndex();
    if (saved < 0)
        return true;
    const int from = std::min(saved, stack_.index());
    const int to = std::max(saved, stack_.index());
    for (int i = from; i < to; ++i) {
        if (static_cast<const SceneListStep*>(stack_.command(i))->ChangesValues())
            return true;
    }
    return false;
}

void EditHistory::AttachActions(QAction* undo, QAction* redo) {
    undoAction_ = undo;
    redoAction_ = redo;
    connect(undo, &QAction::triggered, this, &EditHistory::Undo);
    connect(redo, &QAction::triggered, this, &EditHistory::Redo);
    UpdateActions();
}

void EditHistory::UpdateActions() {
    if (!undoAction_ || !redoAction_)
        return;
    auto show = [this](QAction* action, bool possible, const char* plain, const char* named,
                       const QString& step) {
        action->setEnabled(possible);
        action->setText(possible ? captions_.CaptionText(QLatin1String(named)).arg(step)
                                 : captions_.CaptionText(QLatin1String(plain)));
    };
    show(undoAction_, stack_.canUndo(), "MNU_UNDO", "MNU_UNDOSTEP", stack_.undoText());
    show(redoAction_, stack_.canRedo(), "MNU_REDO", "MNU_REDOSTEP", stack_.redoText());
}
