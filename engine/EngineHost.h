// What the automatic editing engine shows and asks: the progress window, the stop request, the
// tape-change question, the final message, row selection, the controller's indicators and
// buttons, the deck view, the preview beep, and the inputs of a run (devices, options, list).
// The GUI implements it with its windows, clipwright-cli on the terminal.
//
// What every host must do is pure; what only a host with windows shows (the progress window, the
// controller's indicators and buttons, the windows' enabling) does nothing unless overridden.
//
// Threads: the engine calls every method on the host's thread (the thread the engine object
// lives on, the GUI thread), queuing the call there when it runs on the link thread, except
// StopRequested, which it reads from the link thread.
#pragma once

#include <QString>

#include "engine/ResumePoint.h"
#include "engine/RunProgress.h"

class SceneList;
class VerificationReport;

// The decks of a run, taken when it starts.
struct AutoDevices {
    int playerId = 1;               // CurID: the deck the engine cues
    int recorderId = 0;             // RecID: 0 when no recorder is on the bus
    bool useEditTerminal = false;   // fUseEdit: record and pause go to the player's terminal
    bool playerHasEffects = false;  // the player lists the effect command group
};

// The editing options of a run, in frames, taken when it starts.
struct AutoOptions {
    int inCorrection = 40;     // the recorder is released this early before an in point
    int outCorrection = 10;    // and paused this early before an out point
    int searchDistance = 300;  // a forward search ends this far before its target
    int preRollFrames = 150;   // Preroll backs the player up by this much
    // A playing deck stands this many frames after a pause command: Goto and Preroll pause the
    // player, Review the recorder, this early.
    int playerPauseLead = 22;
    int recorderPauseLead = 22;
    // A scene further than retakeTolerance frames off its length or its seam is recorded again,
    // at most retakeAttempts times (0: never).
    int retakeAttempts = 2;
    int retakeTolerance = 1;
    // Cue the player the quick way between scenes: only the waiting differs, not the tape.
    bool quickCue = false;
};

// Flags of the progress window: the Stop button visible, the gauge visible, Stop disabled.
enum ProgressFlags : int {
    kProgressStopButton = 1,
    kProgressGauge = 2,
    kProgressStopDisabled = 4,
};

// The deck the controller displays and drives.
enum DeckView : int {
    kPlayerView = 1,
    kRecorderView = 2,
};

class EngineHost {
public:
    virtual ~EngineHost() = default;

    // Inputs of a run, read once by AutoStart.
    virtual AutoDevices Devices() const = 0;
    virtual AutoOptions Options() const = 0;
    virtual const SceneList& Scenes() const = 0;

    // Where an Auto Rec stands: progress over the list and the same as text for the user ("Scene 7
    // of 42", tape left), lines separated by a line feed. Sent when the scene starts and as its
    // recording moves on.
    virtual void ShowRunProgress(const RunProgress& progress, const QString& text) = 0;
    // The user's Stop. Called on the link thread: must be safe from any thread.
    virtual bool StopRequested() const = 0;

    // The tape-change question (modal): true to go on, false to stop the run.
    virtual bool ConfirmTapeChange(const QString& title, const QString& text) = 0;
    // At the end of an Auto Rec, before the final message: what the recorder took in of each
    // scene.
    virtual void ShowVerification(const VerificationReport& report) = 0;
    // The final message (modal): success shows information, otherwise a warning.
    virtual void ShowFinalMessage(const QString& title, const QString& text, bool success) = 0;

    // Where the running Auto Rec can be resumed from: as it starts (replacing any older point),
    // after every scene complete on tape, and at its end (empty when it finished). Kept at once
    // where it outlives the program: a program killed a moment later leaves it behind.
    virtual void KeepResumePoint(const ResumePoint& point) = 0;

    // Makes row i of the list the only selected and current row.
    virtual void SelectRow(int i) = 0;

    virtual int CurrentView() const = 0;
    // View 1 addresses the player and starts the status polling when it is not running.
    virtual void SelectView(int view) = 0;

    // The preview beep at corrected edit points.
    virtual void PlayBeep() = 0;

    // ---- windows only ----
    // Progress window: shown with a title and ProgressFlags (clearing the stop request), closed.
    virtual void ShowProgress(const QString& /*title*/, int /*flags*/) {}
    virtual void CloseProgress() {}
    // The recorder indicator shows its recording picture.
    virtual void ShowRecorderRecording() {}
    // Flashing of the player-to-recorder arrow; off restores its idle picture.
    virtual void SetArrowFlashing(bool /*on*/) {}
    virtual void EnableAutoRec() {}
    virtual void EnableReview() {}
    // The controller and main windows are usable again.
    virtual void EnableWindows() {}
};
