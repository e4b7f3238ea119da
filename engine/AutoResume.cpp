// Resume Auto Rec: the part of the engine that places the recorder on the frame where an
// interrupted run's last complete scene ends, before the run goes on as any Auto Rec does.
#include "config/CaptionTable.h"
#include "engine/AutoEngine.h"
#include "link/TarnVtr.h"

namespace {

// A deck paused ahead of its target stands within a fraction of a second of it; stepping
// further than this means the counter is not where the deck says it went.
constexpr int kStepLimitSeconds = 5;

}  // namespace

bool AutoEngine::AutoResume(const ResumePoint& point) {
    if (IsRunning())
        return false;
    switch (CheckResume(point, host_.Scenes())) {
        case ResumeRefusal::NothingToResume:
            return RefuseResume(QStringLiteral("MSG_RESUME_NONE"));
        case ResumeRefusal::ListChanged:
            return RefuseResume(QStringLiteral("MSG_RESUME_CHANGED"));
        case ResumeRefusal::None:
            break;
    }
    // Only the recorder's own counter can find the frame again.
    decks_.SetDevices(host_.Devices());
    if (decks_.Devices().recorderId == 0 || !decks_.TryReadRecorderPosition())
        return RefuseResume(QStringLiteral("MSG_RESUME_UNREACH"));
    BeginRun();
    resume_ = point;
    recordingStart_ = point.recordingStart;  // Review then plays the whole recording
    {
        std::lock_guard lock(checksMutex_);
        checks_.clear();
    }
    // The verification report covers the resumed run and marks where it began.
    sceneChecked_ = false;
    seamPosition_ = point.recorderAt;
    resumeCheckPending_ = true;
    row_ = point.lastRow;
    bridge_.Post([](EngineHost& h) {
        h.ShowRecorderRecording();
        h.SetArrowFlashing(true);
    });
    // Until the recorder stands on its frame, every failure means it cannot get there.
    placing_ = true;
    stopKey_ = QStringLiteral("MSG_RESUME_UNREACH");
    target_ = point.recorderAt;
    decks_.Address(decks_.Devices().recorderId);
    decks_.SetModeAndWait(ModeStop);
    kind_ = kAutoRec;  // from here on the ticks run, cueing the recorder first
    return true;
}

bool AutoEngine::RefuseResume(const QString& key) {
    host_.ShowFinalMessage(Caption(QStringLiteral("TI_MAIN")), Caption(key), false);
    return false;
}

// The recorder is cued as Review cues it: search, play, pause ahead of the target by the pause
// lead; then stepped onto the exact frame.
AutoEngine::StepOutcome AutoEngine::PlaceRecorder() {
    switch (step_) {
        case Step::Search:
            return Search(target_) ? StepOutcome::Wait : StepOutcome::Fail;
        case Step::PlayToScene:
            return PauseAt(target_) ? StepOutcome::Wait : StepOutcome::Fail;
        case Step::PausedAtTarget:
            return FinishPlacement();
        default:
            return StepOutcome::Wait;
    }
}

AutoEngine::StepOutcome AutoEngine::FinishPlacement() {
    if (!decks_.StepOnto(target_, kStepLimitSeconds * decks_.FramesPerSecond()) ||
        !decks_.SetModeAndWait(ModeRecordPause))
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
