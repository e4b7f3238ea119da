// Auto Rec: every scene of the list from the player to the recorder, one scene run after the
// other, the recorder waiting in rec-pause between them, stopping for tape changes. After each
// scene the recorder's counter is read once: what it took in is kept (the verification report)
// and the resume point moves past it. A scene that landed off is recorded again over itself: the
// recorder is placed back on the frame where the scene before ended and the scene is cued and
// recorded as before, at most as often as the options say. A resumed run first places the
// recorder on the frame where the interrupted one's last complete scene ended.
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
    // The player has played the run-on's frames past the out point, or, once the quick way has
    // sent it towards the next scene, the time they take has passed.
    bool RunOnEnded(int32_t outPoint) const;
    bool RecorderKnownToStand() const;
    // When the recorder stands, with the margin after which its counter is read; unknown when
    // its pause went out before the tape's rate was measured.
    std::optional<int64_t> RecorderStandsUs() const;
    // While a recorder that cannot be read stops: the quick way may start the player towards
    // the next scene.
    bool TravelWhileRecorderStops();
    // The in point of the next scene to record, unless a tape change comes first.
    std::optional<int32_t> NextInPointOnThisTape() const;
    // False when the recorder has not been read standing by the end of the run-on.
    bool CheckScene(bool runOnEnded);
    // Where the recorder stands as the scene's cue begins, when retakes look at the seam.
    void ReadSceneStart();
    // After a take's check: true when it landed off and is to be recorded again.
    bool RetakeDue(const SceneCheck& check) const;
    // Puts the recorder back on frame (where the scene before ended) to record the scene again.
    void BeginRetake(const SceneCheck& offTake, int32_t frame);
    StepOutcome RecordSceneAgain();
    // The scene of the current row is complete on tape, as its check has read: the resume point
    // moves past it and is kept at once, so a killed program leaves it behind.
    void NoteSceneOnTape(const SceneCheck& check);
    bool PassTapeChange(int row);
    void ReadRecordingEnd();
    // Tells the host where the run stands when that has changed enough to show.
    void ReportProgress();
    int32_t RecordedInRow() const;

    RecorderPlacement placement_;
    bool placing_ = false;             // the recorder is being placed, and the engine addresses it
    bool resumeCheckPending_ = false;  // the next scene check is the resumed run's first
    RunProgressPlan progressPlan_;
    RunProgress shownProgress_;
    ResumePoint resume_;  // where this run can be resumed from, as far as it got
    bool sceneChecked_ = false;
    std::optional<int64_t> runOnFromUs_;  // when the current take's out point was passed
    // The recorder's counter where the next scene begins; unknown after a reading that failed,
    // so a length is never measured from a stale seam.
    std::optional<int32_t> seam_;
    RetakeRule retakeRule_;
    std::optional<int32_t> sceneStart_;  // the recorder's counter as the scene's cue began
    int retake_ = 0;  // which retake of the current scene runs; 0: its first take
    std::vector<TakeError> earlierTakes_;  // of the current scene, recorded over
    std::optional<SceneCheck> offTake_;    // the last take that landed off, until retaken
    bool firstTakeResumed_ = false;        // the current scene's first take began a resumed run
    // How a retake landed as far off as its bad take: the decks' own timing, which another take
    // does not change; no take off that way is recorded again in this run.
    std::optional<TakeError> decksOff_;
};
