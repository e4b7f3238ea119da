// The scene run that Preview and Auto Rec share: cue the player to the scene, prepare the
// transition while it plays up, pass the corrected in point, run the transition in, pass the
// corrected out point. With Quick cue the player is cued the quick way. Preview ends there, beeping
// at the edit points; Auto Rec records at them and goes on to the next scene.
#pragma once

#include "engine/DeckCue.h"
#include "engine/Operation.h"
#include "engine/QuickCue.h"

class EditPoints;
class SceneTransitions;
struct EngineRun;

class SceneRun : public Operation {
public:
    bool Cue() override;
    StepOutcome Step() override;

protected:
    // record: the recorder records at the edit points (else the preview beeps).
    SceneRun(EngineRun& run, SceneTransitions& transitions, EditPoints& editPoints, bool record);

    // Step 7, the out point passed.
    virtual StepOutcome AfterOutPoint() = 0;
    // Step 9.
    virtual StepOutcome AtNextScene() { return StepOutcome::Wait; }

    EngineRun& run_;
    SceneTransitions& transitions_;
    EditPoints& editPoints_;
    DeckCue cue_;
    QuickCue quickCue_;

private:
    bool Quick() const;

    const bool record_;
};

// Preview: the current scene as it will be recorded, with its effect and transitions, the
// recorder untouched; the player is stopped at the end.
class PreviewOperation final : public SceneRun {
public:
    PreviewOperation(EngineRun& run, SceneTransitions& transitions, EditPoints& editPoints)
        : SceneRun(run, transitions, editPoints, false) {}

    bool Start() override;
    void Leave() override;

private:
    StepOutcome AfterOutPoint() override { return StepOutcome::Done; }
};
