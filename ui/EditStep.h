// The user actions that change the edit list, one undo step each, and the name a step shows in
// the Undo and Redo menu items ("Delete 3 Scenes", "Trim").
#pragma once

#include <QString>

class CaptionTable;
struct SceneListState;

enum class EditStep {
    AddScene,
    AddTapeChange,
    Delete,
    Cut,
    Paste,
    DragMove,
    DragCopy,
    Correction,  // the scene correction dialog's OK
    Entry,
    MarkIn,
    MarkOut,
    Trim,
    SceneUp,
    SceneDown,
    LastScene,
    Effect,
    Transition,
};

// The step's name in the caption table's language. The number of rows a step took out, put in
// or moved is read from the states before and after it; a correction is named after what it
// changed (the memo alone, the tape-change mark alone, or the scene).
QString EditStepName(EditStep step, const SceneListState& before, const SceneListState& after,
                     const CaptionTable& captions);
