// One undo step of the edit list: the whole list as it was before a user action and as the
// action left it. Undo and redo put one or the other back through the list's own operation, so
// the views learn of it from the list's usual change signals. Trims of one point in quick
// succession (a held key, repeated clicks) merge into the step before them.
#pragma once

#include <QUndoCommand>

#include "edit/SceneList.h"
#include "ui/EditStep.h"

class SceneListStep : public QUndoCommand {
public:
    // Trims closer together than this join the step before them.
    static constexpr qint64 kTrimMergeMs = 1000;

    // The action has already been done: the first redo, the one of the push, changes nothing.
    // at: when the action happened, in the history's milliseconds.
    SceneListStep(SceneList& list, EditStep step, SceneListState before, SceneListState after,
                  qint64 at, const QString& name);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    // False when the step changed point marks alone: nothing that a saved file holds.
    bool ChangesValues() const;
    const SceneListState& before() const { return before_; }
    const SceneListState& after() const { return after_; }

private:
    SceneList& list_;
    EditStep step_;
    SceneListState before_;
    SceneListState after_;
    qint64 at_;
    bool alreadyDone_ = true;
};
