#include "engine/AutoRecOperation.h"

#include "edit/Timecode.h"
#include "engine/EditPoints.h"
#include "engine/EngineHost.h"
#include "engine/EngineLog.h"
#include "engine/EngineRun.h"
#include "engine/HostBridge.h"
#include "engine/RecorderPause.h"
#include "engine/SceneTransitions.h"
#include "engine/TapeChangeText.h"
#include "engine/VerificationReport.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnCommands.h"

namespace {

// The recorder's counter is read this long after the recorder should stand.
constexpr double kStandMarginFrames = 3;
// The player runs on this far past an out point, so the recorder has paused well before the
// next cue moves the tape; the quick way runs on only until the recorder is known to stand.
constexpr int kRunOnFrames = 150;

}  // namespace

AutoRecOperation::AutoRecOperation(EngineRun& run, SceneTransitions& transitions,
                                   EditPoints& editPoints)
    : SceneRun(run, transitions, editPoints, true), placement_(run) {}

void AutoRecOperation::BeginRecording() {
    transitions_.Begin(false);
    // Only a recorder's own counter tells how a take landed; the edit terminal alone cannot.
    retakeRule_ = {run_.options.retakeAttempts, run_.options.retakeTolerance,
                   run_.decks.Devices().recorderId != 0};
    progressPlan_ = RunProgressPlan(run_.rows, FramesPerSecond(run_.listMode));
    run_.checks.Clear();
    sceneChecked_ = false;
    run_.bridge.Post([](EngineHost& h) {
        h.ShowRecorderRecording();
        h.SetArrowFlashing(true);
    });
}

bool AutoRecOperation::Start() {
    for (int i = 1; i < static_cast<int>(run_.rows.size()); ++i) {
        const Scene& row = run_.rows[static_cast<size_t>(i)];
        if (row.tapeChange || row.durationFrames == 0)
            continue;
        run_.SelectRow(i);
        BeginRecording();
        const int32_t start = run_.recordingStart;
        seam_ = run_.recordingStartKnown ? std::optional<int32_t>(start) : std::nullopt;
        run_.target = row.inFrames;
        ReportProgress();
        // Only a recorder's own counter tells where the tape stands. Whatever point an earlier
        // run kept is replaced now: this run may record over the tape it described.
        if (run_.decks.Devices().recorderId != 0 && run_.recordingStartKnown)
            resume_ = {ListFingerprint(run_.rows, run_.listMode), 0, start, start};
        run_.bridge.Post([point = resume_](EngineHost& h) { h.KeepResumePoint(point); });
        run_.decks.RecorderCommand(true);
        return true;
    }
    transitions_.Begin(false);
    return run_.Fail(StopCause::NothingToRecord, StopDeck::None);
}

void AutoRecOperation::Resume(const ResumePoint& point) {
    resume_ = point;
    // A point given by hand replaces the one kept, as any run's own point does.
    run_.bridge.Post([point](EngineHost& h) { h.KeepResumePoint(point); });
    run_.recordingStart = point.recordingStart;  // Review then plays the whole recording
    // The verification report covers the resumed run and marks where it began.
    BeginRecording();
    seam_ = point.recorderAt;
    resumeCheckPending_ = true;
    run_.row = point.lastRow;
    // Until the recorder stands on its frame, every failure means it cannot get there.
    placing_ = true;
    placement_.Begin(point.recorderAt);
}

void AutoRecOperation::Report() {
    if (!placing_ || retake_ > 0)
        ReportProgress();
}

bool AutoRecOperation::Cue() {
    if (placing_)
        return placement_.Cue();
    ReadSceneStart();
    return SceneRun::Cue();
}

void AutoRecOperation::ReadSceneStart() {
    sceneStart_.reset();
    // A recorder that moved since the scene before ended would leave a gap or cut into it. The
    // reading costs an exchange before the cue, where nothing waits on the time.
    if (retakeRule_.Active() && seam_)
        sceneStart_ = run_.decks.TryReadRecorderPosition();
}

StepOutcome AutoRecOperation::Step() {
    if (!placing_)
        return SceneRun::Step();
    const StepOutcome placed = placement_.Step();
    if (placed != StepOutcome::Done)
        return placed;
    placing_ = false;
    return retake_ > 0 ? RecordSceneAgain() : AtNextScene();
}

StopStep AutoRecOperation::StopStepAt(EngineStep step) const {
    return placing_ ? StopStep::PlaceRecorder : SceneRun::StopStepAt(step);
}

StopReason AutoRecOperation::Explain(StopReason reason) const {
    // A resume's recorder that cannot reach its frame may hold another tape; a retake's goes
    // back over the tape it has just recorded, so what failed there is told as it is.
    if (placing_ && retake_ == 0)
        reason = {StopCause::CannotPlace, StopDeck::Recorder};
    else if (placing_)
        reason.deck = StopDeck::Recorder;
    return reason;
}

StepOutcome AutoRecOperation::AfterOutPoint() {
    if (!runOnFromUs_)
        runOnFromUs_ = run_.scheduler.NowUs();
    if (!PastOut(run_.CurrentRow().outFrames))
        return StepOutcome::Fail;
    // The quick way looks for the next scene at once rather than a step check later.
    if (run_.options.quickCue && run_.step == EngineStep::NextScene)
        return AtNextScene();
    return StepOutcome::Wait;
}

bool AutoRecOperation::PastOut(int32_t outPoint) {
    if (run_.decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    const bool runOnEnded = RunOnEnded(outPoint);
    if (!CheckScene(runOnEnded))
        return false;
    if (placing_)
        return true;  // a retake: the recorder goes back first
    // The out transition has run by now (before the pause, or after it up to the moment the
    // recorder stands): the quick way moves on as soon as the recorder is known to stand.
    if (runOnEnded || (run_.options.quickCue && RecorderKnownToStand()))
        run_.step = EngineStep::NextScene;
    else if (run_.options.quickCue && run_.decks.Devices().recorderId == 0)
        return TravelWhileRecorderStops();
    return true;
}

bool AutoRecOperation::RunOnEnded(int32_t outPoint) const {
    if (!quickCue_.Travelling())
        return run_.decks.Position() > outPoint + kRunOnFrames;
    const int64_t runOnUs = static_cast<int64_t>(kRunOnFrames * 1e6 / run_.decks.FramesPerSecond());
    return run_.scheduler.NowUs() >= runOnFromUs_.value_or(0) + runOnUs;
}

bool AutoRecOperation::RecorderKnownToStand() const {
    // A readable recorder is known to stand only by a reading that shows it standing: the scene
    // check's. A prediction is not enough: a deck may stop late.
    if (run_.decks.Devices().recorderId != 0)
        return sceneChecked_;
    // Only the player's edit terminal reaches the recorder: its stand time must have passed.
    const std::optional<int64_t> stands = RecorderStandsUs();
    return stands && run_.scheduler.NowUs() >= *stands;
}

std::optional<int64_t> AutoRecOperation::RecorderStandsUs() const {
    const std::optional<int64_t> stands = editPoints_.RecorderStandsUs();
    const std::optional<int64_t> margin = run_.scheduler.DurationUs(kStandMarginFrames);
    if (!stands || !margin)
        return std::nullopt;
    return *stands + *margin;
}

bool AutoRecOperation::TravelWhileRecorderStops() {
    // The recorder takes in the player's picture until it stands; a player whose new mode
    // reaches its tape only after that changes nothing on the recorder's tape.
    const std::optional<int32_t> next = NextInPointOnThisTape();
    const std::optional<int64_t> stands = RecorderStandsUs();
    return !next || !stands || quickCue_.TravelBefore(*next, *stands);
}

std::optional<int32_t> AutoRecOperation::NextInPointOnThisTape() const {
    for (int i = run_.row + 1; i < static_cast<int>(run_.rows.size()); ++i) {
        const Scene& row = run_.rows[static_cast<size_t>(i)];
        if (row.tapeChange)
            return std::nullopt;
        if (row.durationFrames != 0)
            return row.inFrames;
    }
    return std::nullopt;
}

bool AutoRecOperation::CheckScene(bool runOnEnded) {
    if (sceneChecked_)
        return true;
    SceneCheck check;
    check.row = run_.row;
    check.expectedFrames = run_.CurrentRow().durationFrames;
    check.scene = progressPlan_.SceneNumber(run_.row);
    check.resumed = resumeCheckPending_;
    if (run_.decks.Devices().recorderId != 0) {
        // Once the recorder should stand (at every step check while that is unknown); while it
        // still settles it is read again at the next step check, until the run-on is over.
        const std::optional<int64_t> stands = RecorderStandsUs();
        if (!runOnEnded && stands && run_.scheduler.NowUs() < *stands)
            return true;
        const EngineDecks::RecorderReading reading =
            run_.decks.ReadRecorder(linktiming::kCommandAttempts);
        if (!RecorderStand{reading.answered, reading.busy, reading.mode}.Standing()) {
            if (!runOnEnded)
                return true;
            // Not seen standing all through the run-on: the player must not move on while the
            // recorder may still take in its picture.
            return run_.Fail(reading.answered ? StopCause::Refused : StopCause::NoAnswer,
                             StopDeck::Recorder);
        }
        // A counter that could not be read is unknown, never a position: the next scene's seam
        // is unknown too rather than measured from this one's start.
        check.startPosition = sceneStart_ ? sceneStart_ : seam_;
        if (sceneStart_ && seam_)
            check.seamFrames = *sceneStart_ - *seam_;
        check.endPosition = reading.ok ? std::optional<int32_t>(reading.position) : std::nullopt;
    }
    sceneChecked_ = true;
    if (retake_ == 0)
        firstTakeResumed_ = resumeCheckPending_;
    check.resumed = firstTakeResumed_;
    resumeCheckPending_ = false;
    qCInfo(lcEngine) << "scene check: row" << check.row << "take" << retake_ + 1 << "expected"
                     << check.expectedFrames << "frames, recorder from"
                     << check.startPosition.value_or(-1) << "to" << check.endPosition.value_or(-1)
                     << "(-1: unknown), seam off by" << check.seamFrames;
    check.earlierTakes = earlierTakes_;
    check.endsItsTape = !NextInPointOnThisTape();
    if (check.Readable() && !earlierTakes_.empty() &&
        check.Error().Near(earlierTakes_.back(), retakeRule_.toleranceFrames))
        decksOff_ = check.Error();
    if (RetakeDue(check)) {
        BeginRetake(check, *seam_);
        return true;
    }
    seam_ = check.endPosition;
    earlierTakes_.clear();
    offTake_.reset();
    run_.checks.Add(check);
    NoteSceneOnTape(check);
    return true;
}

bool AutoRecOperation::RetakeDue(const SceneCheck& check) const {
    const int tolerance = retakeRule_.toleranceFrames;
    return retakeRule_.Active() && retake_ < retakeRule_.attempts && seam_ &&
           check.Off(tolerance) && !(decksOff_ && check.Error().Near(*decksOff_, tolerance));
}

void AutoRecOperation::BeginRetake(const SceneCheck& offTake, int32_t frame) {
    earlierTakes_.push_back(offTake.Error());
    offTake_ = offTake;
    ++retake_;
    qCInfo(lcEngine) << "retake" << retake_ << "of row" << run_.row << "from recorder frame"
                     << frame;
    // The player waits in still while the recorder goes back; the retake cues it again. The
    // resume point stays where the scene before ended, so a resume records over the bad take too.
    run_.decks.SetModeAndWait(ModePause);
    placing_ = true;
    placement_.Begin(frame);
    run_.step = EngineStep::Cue;
    ReportProgress();
}

StepOutcome AutoRecOperation::RecordSceneAgain() {
    run_.target = run_.CurrentRow().inFrames;
    sceneChecked_ = false;
    runOnFromUs_.reset();
    run_.step = EngineStep::Cue;
    return StepOutcome::Wait;
}

void AutoRecOperation::NoteSceneOnTape(const SceneCheck& check) {
    // An unreadable recorder leaves the point at the last scene whose end is known: a resume
    // records this scene again from there.
    if (resume_.IsEmpty() || !check.endPosition)
        return;
    resume_.lastRow = check.row;
    resume_.recorderAt = *check.endPosition;
    run_.bridge.Post([point = resume_](EngineHost& h) { h.KeepResumePoint(point); });
}

StepOutcome AutoRecOperation::AtNextScene() {
    const int count = static_cast<int>(run_.rows.size());
    for (int i = run_.row + 1; i < count; ++i) {
        run_.SelectRow(i);
        const Scene& row = run_.rows[static_cast<size_t>(i)];
        if (row.tapeChange) {
            if (!PassTapeChange(i))
                return StepOutcome::Stop;
            continue;
        }
        if (row.durationFrames != 0) {
            run_.target = row.inFrames;
            sceneChecked_ = false;
            runOnFromUs_.reset();
            retake_ = 0;
            run_.step = EngineStep::Cue;
            return StepOutcome::Wait;
        }
    }
    return StepOutcome::Done;
}

bool AutoRecOperation::PassTapeChange(int row) {
    run_.decks.SetModeAndWait(ModeStop);
    run_.decks.ReadStatus();
    run_.bridge.Post([](EngineHost& h) { h.CloseProgress(); });
    const QString text = TapeChangeText(run_.rows, row, run_.captions);
    const bool goOn = run_.bridge.Ask(
        [title = run_.title, text](EngineHost& h) { return h.ConfirmTapeChange(title, text); },
        false);
    run_.NoteAnswer();  // no polls ran while the user answered
    if (goOn) {
        run_.bridge.Post([title = run_.progressTitle](EngineHost& h) {
            h.ShowProgress(title, kProgressStopButton);
        });
        // A new tape: its scenes begin wherever it stands.
        if (run_.decks.Devices().recorderId != 0)
            seam_ = run_.decks.TryReadRecorderPosition();
    }
    return goOn;
}

void AutoRecOperation::Conclude(AutoResult result, const StopReason& reason) {
    // A recorder still recording is what harms a tape: it is paused before anything else, until
    // it says it stands. The rec-pause also leaves it where a later run appends; one being placed
    // was last told something else.
    run_.recorderMayRecord =
        !recorderpause::PauseRecorder(run_.decks, run_.clock, run_.recorderPaused && !placing_);
    const bool finished = result == AutoResult::Finished;
    if (finished && run_.decks.Devices().recorderId != 0)
        ReadRecordingEnd();
    // A run that never began recording (nothing to record) leaves the kept point alone.
    if (finished || !resume_.IsEmpty()) {
        const ResumePoint kept = finished ? ResumePoint{} : resume_;
        run_.bridge.Post([kept](EngineHost& h) { h.KeepResumePoint(kept); });
    }
    // A run that ends before a retake checked its take leaves the bad take on the tape, or
    // what the retake did not record over of it.
    if (offTake_) {
        offTake_->underRetake = true;
        run_.checks.Add(*std::exchange(offTake_, std::nullopt));
    }
    if (const std::vector<SceneCheck> checks = run_.checks.All(); !checks.empty()) {
        const VerificationReport report(checks, run_.decks.TimecodeMode(),
                                        run_.options.outCorrection, reason, retakeRule_);
        run_.bridge.Post([report](EngineHost& h) { h.ShowVerification(report); });
    }
}

void AutoRecOperation::ReadRecordingEnd() {
    const int32_t end = run_.decks.TryReadRecorderPosition().value_or(0);
    run_.recordingEnd = end;
    if (end > run_.recordingStart.load())
        run_.bridge.Post([](EngineHost& h) { h.EnableReview(); });
}

void AutoRecOperation::Leave() {
    EngineDecks& decks = run_.decks;
    decks.Address(decks.Devices().playerId);  // a resume may end while placing it
    decks.SetModeAndWait(ModeStop);
    decks.ReadStatus();
}

void AutoRecOperation::ReportProgress() {
    const RunProgress now =
        progressPlan_.At(run_.row, RecordedInRow(), retake_, run_.clock.NowMs());
    // Tape and time left are shown in whole seconds: more often would only load the windows.
    const int fps = FramesPerSecond(run_.listMode);
    const RunProgress& shown = shownProgress_;
    if (now.scene == shown.scene && now.retake == shown.retake && now.percent == shown.percent &&
        now.framesLeft / fps == shown.framesLeft / fps && now.msLeft / 1000 == shown.msLeft / 1000)
        return;
    shownProgress_ = now;
    const QString scene =
        retake_ > 0 ? run_.Caption(QStringLiteral("MSG_AUTORETAKE"))
                          .arg(now.scene)
                          .arg(now.scenes)
                          .arg(retake_)
                    : run_.Caption(QStringLiteral("MSG_AUTOSCENE")).arg(now.scene).arg(now.scenes);
    QString text = scene + u'\n' +
                   run_.Caption(QStringLiteral("MSG_AUTOLEFT"))
                       .arg(FramesToText(now.framesLeft, run_.listMode));
    if (now.msLeft >= 0)
        text += u'\n' + run_.Caption(QStringLiteral("MSG_AUTOTIME")).arg(RealTimeText(now.msLeft));
    run_.bridge.Post([now, text](EngineHost& h) { h.ShowRunProgress(now, text); });
}

int32_t AutoRecOperation::RecordedInRow() const {
    switch (run_.step) {
        case EngineStep::InPointPassed:
        case EngineStep::AwaitOutPoint:
        case EngineStep::OutTransitionStarted:
            return run_.decks.Position() - run_.CurrentRow().inFrames;
        case EngineStep::OutPointPassed:
        case EngineStep::NextScene:
            return run_.CurrentRow().durationFrames;
        default:
            return 0;
    }
}
