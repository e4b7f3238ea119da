// The automatic editing engine: the timed deck operations Goto, Preview, Review, Auto Rec,
// Preroll and Edit, one at a time. It has no thread or timer of its own: AutoStart begins an
// operation on the host's thread, and the deck's status polling advances it, one step check
// (AutoTick) after every accepted poll on the link thread. This is the front the hosts talk to;
// each kind of operation is an Operation object, built from the shared parts: the cue
// (DeckCue), the command timing (CommandScheduler), the edit points (EditPoints) and the
// transitions (SceneTransitions).
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/AutoKind.h"
#include "engine/EditPoints.h"
#include "engine/EngineHost.h"
#include "engine/EngineRun.h"
#include "engine/HostBridge.h"
#include "engine/SceneCheck.h"
#include "engine/SceneTransitions.h"
#include "engine/StopReason.h"

class Operation;
class EffectUnit;
class CaptionTable;
class Clock;
class TarnLink;
class TarnVtr;
class TapeGuard;

class AutoEngine : public QObject {
    Q_OBJECT

public:
    // Lives on the host's thread. Takes over the deck object's step and poll hooks.
    AutoEngine(TarnLink& link, TarnVtr& vtr, EffectUnit& effects, Clock& clock,
               const CaptionTable& captions, EngineHost& host, QObject* parent = nullptr);
    ~AutoEngine() override;

    // Host thread: begins an operation of kind and returns at once, its start queued to the
    // link thread; ignored while one runs or starts. Every outcome is reported by the final
    // message and finished().
    void AutoStart(AutoKind kind);
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

    // Host thread, before any run: the guard that stands by while Auto Rec, Edit and Preview
    // run (none: the runs go unguarded).
    void SetTapeGuard(TapeGuard* guard) { guard_ = guard; }

    bool IsRunning() const { return kind_.load() != AutoKind::Idle || starting_.load(); }
    // The span of the last Auto Rec on the recorder's tape, which Review plays.
    int32_t RecordingStart() const { return run_.recordingStart.load(); }
    int32_t RecordingEnd() const { return run_.recordingEnd.load(); }
    void SetRecordingSpan(int32_t start, int32_t end);
    // What the recorder took in of each scene of the running or the last Auto Rec, in the order
    // they were recorded. Any thread.
    std::vector<SceneCheck> SceneChecks() const { return run_.checks.All(); }

signals:
    // After the final message and the return to the saved view: how the operation ended and
    // why (no cause when it finished).
    void finished(AutoResult result, const StopReason& reason);

private:
    void BeginRun(AutoKind kind);
    void ReadRecorderPositionNow();
    // Link thread: the operation's start; the ticks take over from it.
    void StartOperation(AutoKind kind);
    // Runs start on the link thread, where the decks move; IsRunning() holds meanwhile.
    void QueueStart(std::function<void()> start);
    void TakeRunInputs();
    std::unique_ptr<Operation> MakeOperation(AutoKind kind);

    void AutoTick();
    void OnPollAttempt(bool accepted);
    void AutoFinish(const StopReason& reason);
    // The final message: finished, or stopped with a second line that says why.
    QString FinalText(const StopReason& reason) const;
    // Why the run ends now: the user's Stop or a signal, or what the failing step noted.
    StopReason StopNow() const;
    StopReason FailureNow() const;
    StopStep CurrentStopStep() const;
    bool StopAsked() const;
    bool GuardTookOver() const;
    // Link thread: the guard stands by for the operations that can leave a deck moving.
    void ArmGuard(AutoKind kind);
    void ReportToGuard();

    void ShowProgress();
    QString OperationTitle(AutoKind kind) const;
    bool RefuseResume(const QString& text);

    TarnLink& link_;
    TarnVtr& vtr_;
    EffectUnit& effects_;
    Clock& clock_;
    const CaptionTable& captions_;
    EngineHost& host_;
    TapeGuard* guard_ = nullptr;
    HostBridge bridge_{host_, link_, this};
    EngineRun run_;
    // Kept from operation to operation: what they learn of the decks and the effect device.
    SceneTransitions transitions_{run_};
    EditPoints editPoints_{run_, transitions_};

    // The running operation, published by storing kind_ last; from then on the link thread owns
    // it and run_ until AutoFinish stores AutoKind::Idle.
    std::unique_ptr<Operation> operation_;
    std::atomic<AutoKind> kind_{AutoKind::Idle};
    std::atomic<bool> starting_{false};  // a run's start job is queued or running
    std::atomic<int> startJobs_{0};      // start jobs not yet returned: they use this engine
    bool readRecorderFirst_ = false;     // host thread: the next start reads the recorder first
    int savedView_ = kPlayerView;
};
