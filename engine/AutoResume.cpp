// Resume Auto Rec: the part of the engine that places the recorder on the frame where an
// interrupted run's last complete scene ends, before the run goes on as any Auto Rec does. That
// frame may lie anywhere on the tape, its first frames included: recordings usually begin at the
// start of a tape, where there is no room to search back and play up to a frame.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "config/CaptionTable.h"
#include "engine/AutoEngine.h"
#include "link/TarnVtr.h"

namespace {

// A deck paused ahead of its target stands within a fraction of a second of it; stepping
// further than this means the counter is not where the deck says it went.
constexpr int kStepLimitSeconds = 5;
// A recorder playing up to its frame is paused by the moment its counter steps, which a few
// readings of the moving counter give; this much play comes before its pause lead.
constexpr int kPlayUpSeconds = 1;

AutoEngine::StepOutcome Outcome(bool ok) {
    return ok ? AutoEngine::StepOutcome::Wait : AutoEngine::StepOutcome::Fail;
}

}  // namespace

bool AutoEngine::AutoResume(const ResumePoint& point) {
    if (IsRunning())
        return false;
    const SceneList& list = host_.Scenes();
    switch (CheckResume(point, list)) {
        case ResumeRefusal::NothingToResume:
            return RefuseResume(Caption(QStringLiteral("MSG_RESUME_NONE")));
        case ResumeRefusal::ListChanged:
            return RefuseResume(Caption(QStringLiteral("MSG_RESUME_CHANGED")));
        case ResumeRefusal::Damaged:
            return RefuseResume(
                Caption(QStringLiteral("MSG_RESUME_BAD")).arg(ResumePointFault(point, list)));
        case ResumeRefusal::None:
            break;
    }
    // Only the recorder's own counter can find the frame again.
    decks_.SetDevices(host_.Devices());
    if (decks_.Devices().recorderId == 0 || !decks_.TryReadRecorderPosition())
        return RefuseResume(Caption(QStringLiteral("MSG_RESUME_UNREACH")));
    BeginRun(kAutoRec);
    resume_ = point;
    // A point given by hand replaces the one kept, as any run's own point does.
    bridge_.Post([point](EngineHost& h) { h.KeepResumePoint(point); });
    recordingStart_ = point.recordingStart;  // Review then plays the whole recording
    {
        std::lock_guard lock(checksMutex_);
        checks_.clear();
    }
    // The verification report covers the resumed run and marks where it began.
    sceneChecked_ = false;
    seam_ = point.recorderAt;
    resumeCheckPending_ = true;
    row_ = point.lastRow;
    bridge_.Post([](EngineHost& h) {
        h.ShowRecorderRecording();
        h.SetArrowFlashing(true);
    });
    // Until the recorder stands on its frame, every failure means it cannot get there.
    placing_ = true;
    stoppedOnce_ = false;
    stopKey_ = QStringLiteral("MSG_RESUME_UNREACH");
    target_ = point.recorderAt;
    decks_.Address(decks_.Devices().recorderId);
    decks_.SetModeAndWait(ModeStop);  // a recorder left recording by a killed run stops here
    kind_ = kAutoRec;                 // from here on the ticks run, cueing the recorder first
    return true;
}

bool AutoEngine::RefuseResume(const QString& text) {
    host_.ShowFinalMessage(Caption(QStringLiteral("TI_MAIN")), text, false);
    return false;
}

int32_t AutoEngine::PlayUpFrames() const {
    return options_.recorderPauseLead + kPlayUpSeconds * decks_.FramesPerSecond();
}

// Where the recorder stands decides how it reaches its frame: close to it, it steps there; well
// before it, it plays up to it; further away, or after it, it is cued as any deck is, by search.
bool AutoEngine::CueRecorder() {
    decks_.ReadStatus();
    const int32_t ahead = target_ - decks_.Position();
    if (ahead < -PlayUpFrames() || ahead >= options_.searchDistance)
        return Cue(target_);
    return PlayUpOrStep(ahead);
}

bool AutoEngine::PlayUpOrStep(int32_t ahead) {
    if (ahead <= PlayUpFrames()) {
        step_ = Step::PausedAtTarget;
        return true;
    }
    if (!decks_.SetModeAndWait(ModePlay))
        return false;
    step_ = Step::PlayToScene;
    return true;
}

AutoEngine::StepOutcome AutoEngine::PlaceRecorder() {
    switch (step_) {
        case Step::Search:
        case Step::PlayToScene:
            if (decks_.Stopped())
                return Outcome(GoOnFromTapeStart());
            return Outcome(step_ == Step::Search ? Search(target_) : PauseAt(target_));
        case Step::PausedAtTarget:
            return FinishPlacement();
        default:
            return StepOutcome::Wait;
    }
}

// A search back that runs into the tape's start stops the recorder there, short of the lead it
// was searching for, and so may the play that ends the search: from the start it plays up to its
// frame, or steps when that is close. Once: a deck that stops again is not going there.
bool AutoEngine::GoOnFromTapeStart() {
    if (std::exchange(stoppedOnce_, true))
        return false;
    decks_.ReadStatus();
    const int32_t ahead = target_ - decks_.Position();
    return ahead >= 0 && PlayUpOrStep(ahead);  // a frame before this tape's start: another tape
}

AutoEngine::StepOutcome AutoEngine::FinishPlacement() {
    const int maxSteps = std::max(kStepLimitSeconds * decks_.FramesPerSecond(), PlayUpFrames());
    // A deck steps from pause; one that stopped at the tape's start or never moved is paused.
    if (decks_.Mode() != ModePause && !decks_.SetModeAndWait(ModePause))
        return StepOutcome::Fail;
    if (!decks_.StepOnto(target_, maxSteps) || !decks_.SetModeAndWait(ModeRecordPause))
        return StepOutcome::Fail;
    // The next scene overwrites the partial one from exactly this frame on: a deck that moved
    // going into rec-pause would leave a gap or cut into the last good scene.
    decks_.ReadStatus();
    if (decks_.Position() != target_)
        return StepOutcome::Fail;
    decks_.Address(decks_.Devices().playerId);
    placing_ = false;
    stopKey_.clear();
    return NextScene();
}
