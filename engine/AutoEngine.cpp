#include "engine/AutoEngine.h"

#include <algorithm>
#include <utility>

#include "config/CaptionTable.h"
#include "edit/SceneList.h"
#include "engine/AutoRecOperation.h"
#include "engine/CueAndPause.h"
#include "engine/EditOperation.h"
#include "engine/EffectUnit.h"
#include "engine/EngineLog.h"
#include "engine/SceneRun.h"
#include "engine/StopSignals.h"
#include "link/CComm.h"
#include "link/Clock.h"
#include "link/TapeGuard.h"
#include "link/TarnLink.h"
#include "link/TarnVtr.h"

namespace {

AutoResult ResultOf(const StopReason& reason) {
    if (reason.cause == StopCause::None)
        return AutoResult::Finished;
    return reason.IsStop() ? AutoResult::Stopped : AutoResult::Failed;
}

}  // namespace

AutoEngine::AutoEngine(TarnLink& link, TarnVtr& vtr, EffectUnit& effects, Clock& clock,
                       const CaptionTable& captions, EngineHost& host, QObject* parent)
    : QObject(parent),
      link_(link),
      vtr_(vtr),
      effects_(effects),
      clock_(clock),
      captions_(captions),
      host_(host),
      run_(link, vtr, effects, clock, captions, bridge_) {
    vtr_.SetStepHook([this] { AutoTick(); });
    vtr_.SetPollHook([this](bool accepted) { OnPollAttempt(accepted); });
}

AutoEngine::~AutoEngine() {
    // A start job still queued or running uses this engine. It may serve other jobs while it
    // waits (the settle), so one job run behind it does not prove it ended: ask until it has.
    while (startJobs_.load() > 0)
        link_.Run([](CTarnIO&) { return true; });
    vtr_.SetStepHook(nullptr);
    vtr_.SetPollHook(nullptr);
}

void AutoEngine::SetRecordingSpan(int32_t start, int32_t end) {
    run_.recordingStart = start;
    run_.recordingEnd = end;
}

// ---- start ----------------------------------------------------------------------------------

void AutoEngine::ReadRecorderPosition() {
    // Read by the start job, on the link thread, before the run's first command.
    if (!IsRunning())
        readRecorderFirst_ = true;
}

void AutoEngine::ReadRecorderPositionNow() {
    if (run_.decks.Devices().recorderId == 0)
        return;
    const std::optional<int32_t> position = run_.decks.TryReadRecorderPosition();
    run_.recordingStart = position.value_or(0);
    run_.recordingStartKnown = position.has_value();
}

void AutoEngine::AutoStart(AutoKind kind) {
    if (IsRunning() || kind == AutoKind::Idle)
        return;
    // What the run needs from the host is taken here, on the host's thread; the decks move only
    // on the link thread, so the start's commands and waits (Review's cue and its settle) go
    // there as a job, queued behind the commands sent before it. The ticks take over from it.
    BeginRun(kind);
    const bool readRecorder = std::exchange(readRecorderFirst_, false);
    QueueStart([this, kind, readRecorder] {
        if (readRecorder)
            ReadRecorderPositionNow();
        StartOperation(kind);
    });
}

void AutoEngine::QueueStart(std::function<void()> start) {
    // Behind what the host queued before it (the controller's switch to the player's view is
    // such a job), so the run addresses its decks after the host did.
    starting_ = true;
    ++startJobs_;
    link_.Post([this, start = std::move(start)] {
        start();
        // A run that ended in its start cleared the flag before the host heard of its end (and
        // the host may have started the next run since); a run that goes on is running by its
        // kind now.
        if (kind_.load() != AutoKind::Idle)
            starting_ = false;
        --startJobs_;
    });
}

void AutoEngine::StartOperation(AutoKind kind) {
    ArmGuard(kind);
    operation_ = MakeOperation(kind);
    if (!operation_->Start()) {
        // Ended before the first tick: the ticks never see this run.
        AutoFinish({run_.failure.cause, run_.failure.deck, StopStep::Start});
        return;
    }
    kind_ = kind;  // from here on the ticks run
}

std::unique_ptr<Operation> AutoEngine::MakeOperation(AutoKind kind) {
    switch (kind) {
        case AutoKind::Goto:
            return std::make_unique<GotoOperation>(run_);
        case AutoKind::Preview:
            return std::make_unique<PreviewOperation>(run_, transitions_, editPoints_);
        case AutoKind::Review:
            return std::make_unique<ReviewOperation>(run_);
        case AutoKind::AutoRec:
            return std::make_unique<AutoRecOperation>(run_, transitions_, editPoints_);
        case AutoKind::Preroll:
            return std::make_unique<PrerollOperation>(run_);
        case AutoKind::Edit:
        case AutoKind::Idle:  // not started: AutoStart refuses it
            break;
    }
    return std::make_unique<EditOperation>(run_, editPoints_);
}

void AutoEngine::BeginRun(AutoKind kind) {
    TakeRunInputs();
    run_.recorderPaused = true;
    run_.recorderMayRecord = false;
    run_.step = EngineStep::Cue;
    run_.failure = {};
    run_.scheduler.Reset();
    savedView_ = host_.CurrentView();
    host_.SelectView(kPlayerView);
    const AutoDevices& devices = run_.decks.Devices();
    effects_.SetDevice(devices.playerHasEffects ? devices.playerId : 0);
    run_.title = run_.Caption(QStringLiteral("TI_MAIN"));
    run_.progressTitle = OperationTitle(kind);
    ShowProgress();
    run_.NoteAnswer();
    qCInfo(lcEngine) << "operation" << static_cast<int>(kind) << "starts at row" << run_.row
                     << "player" << devices.playerId << "recorder" << devices.recorderId;
}

void AutoEngine::TakeRunInputs() {
    run_.decks.SetDevices(host_.Devices());
    run_.options = host_.Options();
    // The list cannot change while an operation runs (its windows are disabled), so the rows
    // as they are now are the rows of the whole run, and the link thread reads its own copy.
    const SceneList& list = host_.Scenes();
    run_.rows.clear();
    for (int i = 0; i < list.count(); ++i)
        run_.rows.push_back(list.row(i));
    run_.row = std::clamp(list.current(), 0, list.count() - 1);
    run_.listMode = list.timecodeMode();
}

// ---- tick -----------------------------------------------------------------------------------

void AutoEngine::AutoTick() {
    if (kind_.load() == AutoKind::Idle)
        return;
    run_.NoteAnswer();
    run_.failure = {};
    if (StopAsked()) {
        AutoFinish(StopNow());
        return;
    }
    operation_->Report();
    if (run_.step == EngineStep::Cue) {
        if (!operation_->Cue())
            AutoFinish(FailureNow());
        return;
    }
    run_.scheduler.Observe(vtr_.LastSample(), run_.decks.Mode() == ModePlay);
    const EngineStep before = run_.step;
    const StepOutcome outcome = operation_->Step();
    if (run_.step != before)
        qCInfo(lcEngine) << "step" << static_cast<int>(before) << "->"
                         << static_cast<int>(run_.step) << "at counter" << run_.decks.Position()
                         << "row" << run_.row;
    ReportToGuard();
    switch (outcome) {
        case StepOutcome::Wait:
            // The step's own commands were answered; waits inside it are not silence.
            run_.NoteAnswer();
            break;
        case StepOutcome::Fail:
            AutoFinish(FailureNow());
            break;
        case StepOutcome::Stop:
            AutoFinish(StopNow());
            break;
        case StepOutcome::Done:
            AutoFinish({});
            break;
    }
}

// Without this a deck that falls silent would never tick again, and even Stop would go unseen.
void AutoEngine::OnPollAttempt(bool accepted) {
    if (accepted || kind_.load() == AutoKind::Idle)
        return;
    if (StopAsked()) {
        AutoFinish(StopNow());
    } else if (clock_.NowMs() - run_.lastAnswerMs.load() > EngineRun::kSilenceLimitMs) {
        run_.failure = {};
        run_.Fail(StopCause::NoAnswer, run_.AddressedDeck());
        AutoFinish(FailureNow());
    }
}

bool AutoEngine::StopAsked() const {
    return stopsignals::Pending() || host_.StopRequested() || GuardTookOver();
}

bool AutoEngine::GuardTookOver() const {
    return guard_ != nullptr && guard_->TookOver();
}

StopReason AutoEngine::StopNow() const {
    if (GuardTookOver())
        return {StopCause::GuardTookOver, StopDeck::None, CurrentStopStep()};
    return {stopsignals::FromSystem() ? StopCause::Signal : StopCause::UserStop, StopDeck::None,
            CurrentStopStep()};
}

StopReason AutoEngine::FailureNow() const {
    // The guard refused the program the bus: the failure came from that, not from a deck.
    if (GuardTookOver())
        return StopNow();
    StopReason reason = run_.failure;
    if (reason.cause == StopCause::None)
        reason = {StopCause::NoAnswer, run_.AddressedDeck()};
    // A pulled cable and a deck that stopped answering need different hands.
    if (reason.cause == StopCause::NoAnswer && link_.Comm().HungUp())
        reason = {StopCause::PortLost, StopDeck::None};
    reason = operation_->Explain(reason);
    reason.step = CurrentStopStep();
    return reason;
}

StopStep AutoEngine::CurrentStopStep() const {
    return operation_->StopStepAt(run_.step);
}

// ---- finish ---------------------------------------------------------------------------------

void AutoEngine::AutoFinish(const StopReason& reason) {
    AutoResult result = ResultOf(reason);
    qCInfo(lcEngine) << "operation ends:" << static_cast<int>(result) << "cause"
                     << static_cast<int>(reason.cause) << "step" << static_cast<int>(reason.step)
                     << "row" << run_.row;
    const int view = savedView_;
    operation_->Conclude(result, reason);
    // A run whose recorder may still record has not ended well, however far it got.
    if (run_.recorderMayRecord)
        result = AutoResult::Failed;
    run_.recorderPaused = true;
    run_.step = EngineStep::Cue;
    transitions_.Reset();
    bridge_.Post([](EngineHost& h) {
        h.CloseProgress();
        h.EnableAutoRec();
        h.SetArrowFlashing(false);
    });
    operation_->Leave();
    if (guard_ != nullptr)
        guard_->Disarm();
    // What the final message says is taken from this run before it is over: from then on the
    // windows may start the next one, which writes the run's texts anew.
    const bool success = result == AutoResult::Finished;
    const QString text = FinalText(reason);
    const QString title = run_.title;
    // A run that ends in its start job is over before the host hears of it; the kind goes last,
    // so a next run's start cannot come in between.
    starting_ = false;
    kind_ = AutoKind::Idle;
    bridge_.Post([](EngineHost& h) { h.EnableWindows(); });
    bridge_.Ask(
        [title, text, success](EngineHost& h) {
            h.ShowFinalMessage(title, text, success);
            return true;
        },
        true);
    bridge_.Post([this, view, result, reason](EngineHost& h) {
        h.SelectView(view);
        emit finished(result, reason);
    });
}

QString AutoEngine::FinalText(const StopReason& reason) const {
    QString text = run_.Caption(QStringLiteral("MSG_AUTOEND"));
    if (reason.cause != StopCause::None) {
        text = run_.Caption(QStringLiteral("MSG_AUTOSTOP"));
        if (reason.cause == StopCause::PortLost)
            text = run_.Caption(QStringLiteral("MSG_PORTLOST")).arg(link_.Comm().DevicePath());
        else if (reason.cause == StopCause::CannotPlace)
            text = run_.Caption(QStringLiteral("MSG_RESUME_UNREACH"));
        text += u'\n' + reason.Text(captions_);
    }
    // Said last, where the eye ends: the one thing the user must still do by hand.
    if (run_.recorderMayRecord)
        text += u'\n' + run_.Caption(QStringLiteral("MSG_RECMAYRECORD"));
    return text;
}

// ---- guard ---------------------------------------------------------------------------------

void AutoEngine::ArmGuard(AutoKind kind) {
    if (guard_ == nullptr)
        return;
    GuardedOperation operation;
    switch (kind) {
        case AutoKind::AutoRec:
            operation = GuardedOperation::AutoRec;
            break;
        case AutoKind::Edit:
            operation = GuardedOperation::Edit;
            break;
        case AutoKind::Preview:
            operation = GuardedOperation::Preview;
            break;
        default:
            // Goto, Review and Preroll move the player alone and never record.
            return;
    }
    const AutoDevices& devices = run_.decks.Devices();
    guard_->Arm(operation, devices.recorderId, devices.playerId, devices.useEditTerminal);
}

void AutoEngine::ReportToGuard() {
    if (guard_ != nullptr)
        guard_->Report(run_.recorderPaused ? DeckActivity::Moving : DeckActivity::Recording);
}

// ---- helpers --------------------------------------------------------------------------------

void AutoEngine::ShowProgress() {
    bridge_.Post([title = run_.progressTitle](EngineHost& h) {
        h.ShowProgress(title, kProgressStopButton);
    });
}

QString AutoEngine::OperationTitle(AutoKind kind) const {
    // The progress window says which operation holds the windows ("Auto Rec – Clipwright").
    static const char* const kKeys[] = {"TI_GOTO",    "TI_PREVIEW", "TI_REVIEW",
                                        "TI_AUTOREC", "TI_PREROLL", "TI_EDIT"};
    const int i = static_cast<int>(kind) - static_cast<int>(AutoKind::Goto);
    const QString text = i >= 0 && i < static_cast<int>(std::size(kKeys))
                             ? captions_.CaptionText(QLatin1String(kKeys[i]))
                             : QString();
    return text.isEmpty() ? run_.title : text;
}
