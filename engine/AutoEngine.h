// The automatic editing engine: the timed deck operations Goto, Preview, Review, Auto Rec,
// Preroll and Edit. It has no thread or timer of its own: AutoStart begins an operation on the
// host's thread, and the deck's status polling advances it, one step check (AutoTick) after
// every accepted poll on the link thread. Each step works towards a tape position: cue by play
// and search, pause at a target, release and pause the recorder early by the decks' latencies,
// fire the effect and transition commands at the scene seams, walk the list scene by scene and
// stop for tape changes. While the deck plays, the moments its counter steps give its position
// between polls (CounterPhase), and a command whose moment falls before the next poll's step
// check is held back to that moment and sent then. After each recorded scene the recorder's
// counter is read once: what it took in is kept per scene (SceneChecks).
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "edit/Scene.h"
#include "engine/CounterPhase.h"
#include "engine/EngineDecks.h"
#include "engine/EngineHost.h"
#include "engine/HostBridge.h"
#include "engine/RunProgress.h"
#include "engine/SceneCheck.h"
#include "engine/StopReason.h"

class EffectUnit;
class CaptionTable;
class Clock;
class TarnLink;
class TarnVtr;

enum AutoKind : int {
    kAutoIdle = 0,
    kAutoGoto = 1,
    kAutoPreview = 2,
    kAutoReview = 3,
    kAutoRec = 4,
    kAutoPreroll = 5,
    kAutoEdit = 6,
};

enum AutoResult : int {
    kAutoFinished = 0,
    kAutoStopped = 1,  // the user's Stop
    kAutoFailed = 2,   // a deck stopped, refused a command or fell silent
};

class AutoEngine : public QObject {
    Q_OBJECT

public:
    // Lives on the host's thread. Takes over the deck object's step and poll hooks.
    AutoEngine(TarnLink& link, TarnVtr& vtr, EffectUnit& effects, Clock& clock,
               const CaptionTable& captions, EngineHost& host, QObject* parent = nullptr);
    ~AutoEngine() override;

    // Host thread: begins an operation of kind (AutoKind 1..6) and returns at once, its start
    // queued to the link thread; ignored while one runs or starts. Every outcome is reported by
    // the final message and finished().
    void AutoStart(int kind);
    // Host thread, before AutoStart of an Auto Rec: the start reads the recorder's position
    // first, which becomes the recording start (0, and the first seam unknown, when
    // unreadable); nothing without a recorder.
    void ReadRecorderPosition();
    // Host thread: an Auto Rec that goes on from where an interrupted one left the tape: the
    // recorder is cued to the point's position, stepped onto its exact frame and put into
    // rec-pause there, then the list is recorded from the scene after the point's row. False,
    // with a warning shown and no deck touched, when the list changed since, there is nothing
    // to resume or no recorder to read.
    bool AutoResume(const ResumePoint& point);

    bool IsRunning() const { return kind_.load() != kAutoIdle || starting_.load(); }
    // The span of the last Auto Rec on the recorder's tape, which Review plays.
    int32_t RecordingStart() const { return recordingStart_.load(); }
    int32_t RecordingEnd() const { return recordingEnd_.load(); }
    void SetRecordingSpan(int32_t start, int32_t end);
    // What the recorder took in of each scene of the running or the last Auto Rec, in the order
    // they were recorded. Any thread.
    std::vector<SceneCheck> SceneChecks() const;

public:
    // What a step check leads to: keep waiting, or end the operation with a result.
    enum class StepOutcome { Wait, Fail, Stop, Done };

signals:
    // After the final message and the return to the saved view: the AutoResult and why the
    // operation ended (no cause when it finished).
    void finished(int result, const StopReason& reason);

private:
    enum class Side { In, Out };

    // Where an operation stands; the values are the step numbers of the engine's step table.
    enum class Step : int {
        Cue = 0,                   // cue not yet issued
        Search = 1,                // searching towards the target
        PlayToScene = 2,           // playing towards the first event of the scene
        AwaitInPoint = 3,          // transition prepared; waiting for the in point
        InPointPassed = 4,         // recorder released; waiting to run the in transition
        AwaitOutPoint = 5,         // waiting for the out point
        OutTransitionStarted = 6,  // out transition started (passes straight on)
        OutPointPassed = 7,        // recorder paused; the player runs on
        PausedAtTarget = 8,        // player paused at the target
        NextScene = 9,             // looking for the next scene
    };

    void BeginRun(int kind);
    void ReadRecorderPositionNow();
    void TakeRunInputs();
    void StartByKind(int kind);
    bool StartAutoRec();

    void AutoTick();
    void OnPollAttempt(bool accepted);
    StepOutcome RunStep();
    StepOutcome RunSceneStep(bool record);
    void End(const StopReason& reason);
    void AutoFinish(int kind, const StopReason& reason);
    // The final message: finished, or stopped with a second line that says why.
    QString FinalText(const StopReason& reason) const;
    // Why the run ends now: the user's Stop or a signal, or what the failing step noted.
    StopReason StopNow() const;
    StopReason FailureNow() const;
    // A step notes why it fails and returns false.
    bool Fail(StopCause cause, StopDeck deck);
    bool Failed(DeckReply reply, StopDeck deck);
    StopDeck AddressedDeck() const;
    StopStep CurrentStopStep() const;
    void ReadRecordingEnd();
    void ResetEffects();
    // recorderPaused: the recorder's pause has gone out already.
    void LeaveDecks(int kind, bool recorderPaused);

    // Handlers; false ends the operation where the step table says so.
    bool Cue(int32_t target);
    bool Search(int32_t target);
    bool PauseAt(int32_t target);
    bool EditPoint(int32_t point, Side side, bool record);
    // The recorder's record or pause (a beep without recording): the edit point is passed.
    bool PassEditPoint(Side side, bool record);
    bool PrepareTransition();
    bool InTransition(int32_t target);
    bool OutTransition(const std::function<bool()>& betweenPolls);
    bool RunEarlyOutTransition(double at, bool record);
    bool TimedOutTransition(int64_t* runUs);
    bool RunLateOutTransition();
    bool PastOut(int32_t outPoint);
    // False once a recording recorder has left its status questions unanswered too long.
    bool RecorderStillThere();
    // The pause (or the out run before it) goes out within a few exchanges.
    bool PauseMomentNear() const;
    void CheckScene(bool runOnEnded);
    void AddCheck(const SceneCheck& check);

    // Timing between polls.
    void ObservePosition();
    // When a command must be written so that the deck hears it leadFrames before the addressed
    // deck's tape reaches position (microseconds of the clock).
    int64_t WriteMomentUs(double position, double leadFrames) const;
    // True when that command goes out now: its moment has come, or comes before the next chance
    // to send it (holdExchanges away) and has been waited for. Without a known phase: once the
    // counter has reached it.
    bool MomentHasCome(double position, double leadFrames, double holdExchanges);
    void WaitUntilUs(int64_t us);
    // How far before the recorder stands an early out run starts, in frames: its measured length,
    // but early enough that its commands go before the pause.
    double EarlyOutLeadFrames() const;
    // The same for the first command at the current scene's out point.
    double FirstOutLeadFrames() const;
    double FramesOf(double us) const;
    // The moment the in transition's following must leave the link to the out point.
    int64_t InFollowDeadlineUs() const;
    StepOutcome NextScene();
    bool PassTapeChange(int row);

    // The transition that runs in at the start of the current row: the previous row's, as
    // Preview shows it where needed.
    int IncomingTransition() const;
    const Scene& CurrentRow() const { return rows_[static_cast<size_t>(row_)]; }
    bool EffectsActive() const;
    void SettleAfterPlay();
    QString Caption(const QString& key) const;
    void SelectRow(int i);
    void ShowProgress();
    QString OperationTitle(int kind) const;
    // Tells the host where an Auto Rec stands when that has changed enough to show.
    void ReportProgress();
    int32_t RecordedInRow() const;
    // The scene of the current row is complete on tape, as its check has read: the resume point
    // moves past it and is kept at once, so a killed program leaves it behind.
    void NoteSceneOnTape(const SceneCheck& check);
    // Resume: where the recorder is placed before the first scene, and what a failure then means.
    bool CueRecorder();
    bool PlayUpOrStep(int32_t ahead);
    bool GoOnFromTapeStart();
    StepOutcome PlaceRecorder();
    StepOutcome FinishPlacement();
    // How far before its frame the recorder must stand to play up to it and pause there.
    int32_t PlayUpFrames() const;
    // A reverse search ends this far before its target: room to play up and pause there.
    int32_t ReverseSearchLeadFrames() const;
    // The pause lead of the deck the engine addresses.
    int PauseLeadFrames() const;
    bool RefuseResume(const QString& text);

    TarnLink& link_;
    TarnVtr& vtr_;
    EffectUnit& effects_;
    Clock& clock_;
    const CaptionTable& captions_;
    EngineHost& host_;
    HostBridge bridge_{host_, link_, this};
    EngineDecks decks_;

    // Published by storing kind_ last in AutoStart; from then on the link thread owns the rest
    // until AutoFinish stores kAutoIdle.
    std::atomic<int> kind_{kAutoIdle};
    std::atomic<bool> starting_{false};  // a start job is queued or running
    bool readRecorderFirst_ = false;     // host thread: the next start reads the recorder first
    Step step_ = Step::Cue;
    StopReason failure_;  // what the step that failed in this tick noted
    bool recorderPaused_ = true;
    int32_t target_ = 0;
    QString title_;
    QString progressTitle_;  // the progress window's: the operation's name
    int savedDevice_ = 0;
    int savedView_ = kPlayerView;
    AutoOptions options_;
    std::vector<Scene> rows_;  // the list as it was at the start; windows are disabled meanwhile
    int row_ = 0;              // the row the engine works on
    uint32_t listMode_ = 0;    // the list's timecode mode, for the texts shown
    RunProgressPlan progressPlan_;
    RunProgress shownProgress_;
    ResumePoint resume_;        // where this Auto Rec can be resumed from, as far as it got
    bool placing_ = false;      // a resumed run is placing the recorder, which the engine addresses
    bool stoppedOnce_ = false;  // the recorder being placed has stopped, at the tape's start
    bool resumeCheckPending_ = false;  // the next scene check is the resumed run's first
    QString stopKey_;                  // the caption of the final warning when not MSG_AUTOSTOP
    std::atomic<int64_t> lastAnswerMs_{0};
    // The recording recorder's last answer and the last time it was asked (clock milliseconds).
    int64_t recorderAnswerMs_ = 0;
    int64_t recorderAskedMs_ = 0;
    int recorderMissedAsks_ = 0;  // questions in a row it left unanswered
    // The addressed deck's tape while it plays, and how long one status exchange takes.
    CounterPhase phase_;
    int64_t exchangeUs_ = 0;
    // How long the link is held by an out transition that runs before the pause and by one that
    // runs after it (their commands differ), learned as the run goes (-1: not yet).
    int64_t earlyOutRunUs_ = -1;
    int64_t lateOutRunUs_ = -1;
    // When the recorder is due to stand after the current scene's pause.
    int64_t recorderStandsUs_ = 0;
    bool sceneChecked_ = false;
    // The recorder's counter where the next scene begins; unknown after a reading that failed,
    // so a length is never measured from a stale seam.
    std::optional<int32_t> seam_;
    bool recordingStartKnown_ = false;
    mutable std::mutex checksMutex_;
    std::vector<SceneCheck> checks_;

    std::atomic<int32_t> recordingStart_{0};
    std::atomic<int32_t> recordingEnd_{0};
};
