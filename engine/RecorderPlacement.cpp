#include "engine/RecorderPlacement.h"

#include <algorithm>
#include <utility>

#include "engine/EngineRun.h"
#include "link/TarnVtr.h"

namespace {

// A deck paused ahead of its target stands within a fraction of a second of it; stepping
// further than this means the counter is not where the deck says it went.
constexpr int kStepLimitSeconds = 5;
// A recorder playing up to its frame is paused by the moment its counter steps, which a few
// readings of the moving counter give; this much play comes before its pause lead.
constexpr int kPlayUpSeconds = 1;

}  // namespace

void RecorderPlacement::Begin(int32_t frame) {
    stoppedOnce_ = false;
    run_.target = frame;
    run_.decks.Address(run_.decks.Devices().recorderId);
    run_.decks.SetModeAndWait(ModeStop);
}

int32_t RecorderPlacement::PlayUpFrames() const {
    return run_.options.recorderPauseLead + kPlayUpSeconds * run_.decks.FramesPerSecond();
}

bool RecorderPlacement::Cue() {
    run_.decks.ReadStatus();
    const int32_t ahead = run_.target - run_.decks.Position();
    if (ahead < -PlayUpFrames() || ahead >= run_.options.searchDistance)
        return cue_.Cue(run_.target);
    return PlayUpOrStep(ahead);
}

bool RecorderPlacement::PlayUpOrStep(int32_t ahead) {
    if (ahead <= PlayUpFrames()) {
        run_.step = EngineStep::PausedAtTarget;
        return true;
    }
    if (!run_.decks.SetModeAndWait(ModePlay))
        return false;
    run_.step = EngineStep::PlayToScene;
    return true;
}

StepOutcome RecorderPlacement::Step() {
    switch (run_.step) {
        case EngineStep::Search:
        case EngineStep::PlayToScene:
            if (run_.decks.Stopped())
                return Checked(GoOnFromTapeStart());
            return Checked(run_.step == EngineStep::Search
                               ? cue_.Search(run_.target, PlayUpFrames())
                               : cue_.PauseAt(run_.target));
        case EngineStep::PausedAtTarget:
            return Finish();
        default:
            return StepOutcome::Wait;
    }
}

// A search back that runs into the tape's start stops the recorder there, short of the lead it
// was searching for, and so may the play that ends the search: from the start it plays up to its
// frame, or steps when that is close. Once: a deck that stops again is not going there.
bool RecorderPlacement::GoOnFromTapeStart() {
    if (std::exchange(stoppedOnce_, true))
        return false;
    run_.decks.ReadStatus();
    const int32_t ahead = run_.target - run_.decks.Position();
    return ahead >= 0 && PlayUpOrStep(ahead);  // a frame before this tape's start: another tape
}

StepOutcome RecorderPlacement::Finish() {
    EngineDecks& decks = run_.decks;
    const int maxSteps = std::max(kStepLimitSeconds * decks.FramesPerSecond(), PlayUpFrames());
    // A deck steps from pause; one that stopped at the tape's start or never moved is paused.
    if (decks.Mode() != ModePause) {
        if (const DeckReply r = decks.SetModeAndWait(ModePause); !r)
            return Checked(run_.Failed(r, StopDeck::Recorder));
    }
    if (!decks.StepOnto(run_.target, maxSteps))
        return StepOutcome::Fail;
    if (const DeckReply r = decks.SetModeAndWait(ModeRecordPause); !r)
        return Checked(run_.Failed(r, StopDeck::Recorder));
    // The next scene overwrites the partial one from exactly this frame on: a deck that moved
    // going into rec-pause would leave a gap or cut into the last good scene.
    decks.ReadStatus();
    if (decks.Position() != run_.target)
        return StepOutcome::Fail;
    decks.Address(decks.Devices().playerId);
    return StepOutcome::Done;
}
