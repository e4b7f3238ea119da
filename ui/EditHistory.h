// The undo history of the edit list, shared by the main window, its list view and effect
// toolbar, and the deck controller. Every user action that changes the list runs through
// Perform and becomes one step, which undo and redo replay as whole list states. The list's
// modified flag follows the history: back at the state last saved or loaded, the list counts as
// unchanged again. Built on Qt's undo stack.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <functional>

#include "ui/EditStep.h"

class CaptionTable;
class QAction;
class SceneList;

class EditHistory : public QObject {
    Q_OBJECT

public:
    // The oldest steps are let go beyond this many.
    static constexpr int kStepLimit = 200;

    // Milliseconds from any fixed start; tests replace it to time trims.
    using TickSource = std::function<qint64()>;

    // Neither the list nor the captions are owned; both outlive the history.
    EditHistory(SceneList& list, const CaptionTable& captions, QObject* parent = nullptr);
    ~EditHistory() override;

    // Runs `change` on the list as one step. A change that leaves every row's values and point
    // marks as they were (a selection alone, a refused effect) adds no step. A Perform inside
    // another one belongs to the outer step.
    void Perform(EditStep step, const std::function<void()>& change);
    void Undo();
    void Redo();
    // A list opened, created or imported: there is nothing before it to go back to. A list that
    // is modified already (an import) has no saved state to come back to either.
    void Clear();

    // The menu items keep the step's name in their text ("Undo Delete 3 Scenes") and are
    // enabled while there is a step to undo or redo; triggering them undoes or redoes.
    void AttachActions(QAction* undo, QAction* redo);
    void SetTickSource(TickSource ticks) { ticks_ = std::move(ticks); }

    const QUndoStack& stack() const { return stack_; }

private:
    // Whether a step that changes values lies between the present state and the saved one.
    bool ChangedSinceSaved() const;
    void UpdateActions();

    SceneList& list_;
    const CaptionTable& captions_;
    QUndoStack stack_;
    QElapsedTimer clock_;
    TickSource ticks_;
    bool performing_ = false;
    // The menu items belong to a window that may go before the history.
    QPointer<QAction> undoAction_;
    QPointer<QAction> redoAction_;
};
