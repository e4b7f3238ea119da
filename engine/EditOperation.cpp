#include "engine/EditOperation.h"

#include "engine/EngineHost.h"
#include "engine/EngineRun.h"
#include "engine/HostBridge.h"
#include "engine/RecorderPause.h"

bool EditOperation::Start() {
    run_.bridge.Post([](EngineHost& h) { h.ShowRecorderRecording(); });
    run_.decks.RecorderCommand(true);
    run_.decks.ReadStatus();
    run_.target = run_.decks.Position();
    return true;
}

bool EditOperation::Cue() {
    return cue_.Cue(run_.target);
}

StepOutcome EditOperation::Step() {
    switch (run_.step) {
        case EngineStep::Search:
            return Checked(cue_.Search(run_.target, DeckCue::kReverseSearchLeadFrames));
        case EngineStep::PlayToScene:
            return Checked(editPoints_.Pass(run_.target, EditPoints::Side::In, true));
        case EngineStep::InPointPassed:
            return StepOutcome::Done;
        default:
            return StepOutcome::Wait;
    }
}

StopStep EditOperation::StopStepAt(EngineStep step) const {
    return step == EngineStep::PlayToScene ? StopStep::InPoint : Operation::StopStepAt(step);
}

void EditOperation::Conclude(AutoResult result, const StopReason&) {
    // Only a finished Edit leaves the recorder recording. A record command whose reply was lost
    // may have started it all the same, so the pause is confirmed from the recorder's status.
    if (result != AutoResult::Finished)
        run_.recorderMayRecord =
            !recorderpause::PauseRecorder(run_.decks, run_.clock, run_.recorderPaused);
}
