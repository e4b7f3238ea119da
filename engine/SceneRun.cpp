#include "engine/SceneRun.h"

#include "engine/EditPoints.h"
#include "engine/EngineRun.h"
#include "engine/SceneTransitions.h"
#include "link/TarnCommands.h"

SceneRun::SceneRun(EngineRun& run, SceneTransitions& transitions, EditPoints& editPoints,
                   bool record)
    : run_(run),
      transitions_(transitions),
      editPoints_(editPoints),
      cue_(run),
      quickCue_(run, cue_),
      record_(record) {}

bool SceneRun::Quick() const {
    return run_.options.quickCue;
}

bool SceneRun::Cue() {
    return Quick() ? quickCue_.Cue(run_.target) : cue_.Cue(run_.target);
}

StepOutcome SceneRun::Step() {
    const int32_t outPoint = run_.CurrentRow().outFrames;
    switch (run_.step) {
        case EngineStep::Search:
            return Checked(Quick() ? quickCue_.Search(run_.target)
                                   : cue_.Search(run_.target, DeckCue::kReverseSearchLeadFrames));
        case EngineStep::PlayToScene:
            if (Quick() && quickCue_.TooClose(run_.target)) {
                run_.step = EngineStep::Cue;  // the recorder could not start in time
                return StepOutcome::Wait;
            }
            // A deck that stopped waits for the user's Stop; a refusal is tried again at the
            // next tick.
            if (!run_.decks.Stopped() && (!transitions_.Active() || transitions_.Prepare()))
                run_.step = EngineStep::AwaitInPoint;
            return StepOutcome::Wait;
        case EngineStep::AwaitInPoint:
            return Checked(editPoints_.Pass(run_.target, EditPoints::Side::In, record_));
        case EngineStep::InPointPassed:
            return Checked(editPoints_.InTransition(run_.target));
        case EngineStep::AwaitOutPoint:
            if (record_ && !editPoints_.RecorderStillThere())
                return StepOutcome::Fail;
            return Checked(editPoints_.Pass(outPoint, EditPoints::Side::Out, record_));
        case EngineStep::OutTransitionStarted:
            return Checked(editPoints_.Pass(outPoint, EditPoints::Side::Out, record_));
        case EngineStep::OutPointPassed:
            return AfterOutPoint();
        case EngineStep::NextScene:
            return AtNextScene();
        case EngineStep::Cue:  // the tick runs the cue itself
        case EngineStep::PausedAtTarget:
            return StepOutcome::Wait;
    }
    return StepOutcome::Wait;
}

bool PreviewOperation::Start() {
    transitions_.Begin(true);
    run_.target = run_.CurrentRow().inFrames;
    return true;
}

void PreviewOperation::Leave() {
    run_.decks.SetModeAndWait(ModeStop);
    run_.decks.ReadStatus();
}
