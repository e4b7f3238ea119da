// Auto Rec: every scene of the list from the player to the recorder, one scene run after the
// other, the recorder waiting in rec-pause between them, stopping for tape changes. After each
// scene the recorder's counter is read once: what it took in is kept (the verification report)
// and the resume point moves past it. A resumed run first places the recorder on the frame where
// the interrupted one's last complete scene ended.
#pragma once

#include <optional>

#include "engine/RecorderPlacement.h"
#include "engine/ResumePoint.h"
#include "engine/RunProgress.h"
#include "engine/SceneCheck.h"
#include "engine/SceneRun.h"

class AutoRecOperation final : public SceneRun {
public:
    AutoRecOperation(EngineRun& run, SceneTransitions& transitions, EditPoints& editPoints);

    // Host thread, instead of Start: goes on from point, which CheckResume has accepted.
    void Resume(const ResumePoint& point);

    bool Start() override;
    void Report() override;
    bool Cue() override;
    StepOutcome Step() override;
    StopStep StopStepAt(EngineStep step) const override;
    StopReason Explain(StopReason reason) const override;
    void Conclude(AutoResult result, const StopReason& reason) override;
    void Leave() override;

private:
    StepOutcome AfterOutPoint() override;
    StepOutcome AtNextScene() override;

    void BeginRecording();
    bool PastOut(int32_t outPoint);
    void CheckScene(bool runOnEnded);
    // The scene of the current row is complete on tape, as its check has read: the resume point
    // moves past it and is kept at once, so a killed program leaves it behind.
    void NoteSceneOnTape(const SceneCheck& check);
    bool PassTapeChange(int row);
    void ReadRecordingEnd();
    // Tells the host where the run stands when that has changed enough to show.
    void ReportProgress();
    int32_t RecordedInRow() const;

    RecorderPlacement placement_;
    bool placing_ = false;              // the recorder is being placed, and the engine addresses it
    bool resumeCheckPending_ = false;   // the next scene check is the resumed run's first
    bool recorderPausedFirst_ = false;  // the end paused the recorder before anything else
    RunProgressPlan progressPlan_;
    RunProgress shownProgress_;
    ResumePoint resume_;  // where this run can be resumed from, as far as it got
    bool sceneChecked_ = false;
    // The recorder's counter where the next scene begins; unknown after a reading that failed,
    // so a length is never measured from a stale seam.
    std::optional<int32_t> seam_;
};
