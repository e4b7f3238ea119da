#include "engine/CueAndPause.h"

#include "engine/EngineHost.h"
#include "engine/EngineRun.h"
#include "engine/HostBridge.h"
#include "link/TarnCommands.h"

bool CueAndPause::Cue() {
    return cue_.Cue(run_.target);
}

StepOutcome CueAndPause::Step() {
    switch (run_.step) {
        case EngineStep::Search:
            return Checked(cue_.Search(run_.target, DeckCue::kReverseSearchLeadFrames));
        case EngineStep::PlayToScene:
            return Checked(cue_.PauseAt(PauseTarget()));
        case EngineStep::PausedAtTarget:
            return StepOutcome::Done;
        default:
            return StepOutcome::Wait;
    }
}

StopStep CueAndPause::StopStepAt(EngineStep step) const {
    return step == EngineStep::PlayToScene ? StopStep::PauseAt : Operation::StopStepAt(step);
}

int32_t CueAndPause::PauseTarget() const {
    return run_.target;
}

bool GotoOperation::Start() {
    run_.target = run_.CurrentRow().inFrames;
    return true;
}

bool PrerollOperation::Start() {
    run_.decks.ReadStatus();
    run_.target = run_.decks.Position() - run_.options.preRollFrames;
    return true;
}

bool ReviewOperation::Start() {
    run_.bridge.Post([](EngineHost& h) { h.ShowRecorderRecording(); });
    savedDevice_ = run_.decks.AddressedId();
    run_.decks.Address(run_.decks.Devices().recorderId);
    run_.decks.SetModeAndWait(ModeStop);
    run_.target = run_.recordingStart;
    cue_.Cue(run_.target);  // a failure leaves step 0, and the first tick cues again
    return true;
}

void ReviewOperation::Leave() {
    run_.decks.Address(savedDevice_);
}

int32_t ReviewOperation::PauseTarget() const {
    return run_.recordingEnd;
}
