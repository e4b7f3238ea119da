#include "engine/AutoEngine.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "config/CaptionTable.h"
#include "edit/SceneList.h"
#include "edit/Timecode.h"
#include "engine/EffectUnit.h"
#include "engine/StopSignals.h"
#include "engine/TapeChangeText.h"
#include "engine/VerificationReport.h"
#include "link/CComm.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnLink.h"
#include "link/TarnVtr.h"

namespace {

// A deck that has just started playing needs this long before it takes a search command.
constexpr int kSettleAfterPlayMs = 2000;
// Jobs from other threads wait at most this long while the engine lets a deck settle.
constexpr int kSettleSliceMs = 20;
// The recorder's tape is started as the player is half a frame into the in point, so that a
// timing error of up to half a frame either way still records the in point first.
constexpr double kRecordStartPhase = 0.5;
// The recorder is paused half a frame into the frame after the scene's last: that frame, where
// it stands, is where the next scene begins, and the scene keeps exactly its length.
constexpr double kRecordPausePhase = 1.0;
// A deck told to pause stands on the frame its tape is on: it is aimed at the target's middle.
constexpr double kStandPhase = 0.5;
// A command whose moment comes within this many exchanges is held back for it: the next step
// check (one poll away, two when a speed check comes between) could come too late.
constexpr double kHoldExchanges = 2.5;
// Below this, a wait for a command's moment sleeps no more: the rest is met to the microsecond.
constexpr int64_t kFineWaitUs = 2000;
// The recorder's counter is read this long after the recorder should stand.
constexpr double kStandMarginFrames = 3;
// A reverse search ends this far before the target, leaving the rest to normal play.
constexpr int kReverseSearchLeadFrames = 150;
// The player runs on this far past an out point, so the recorder has paused well before the
// next cue moves the tape.
constexpr int kRunOnFrames = 150;
// Exchanges an out transition is guessed to take before one has been timed: selecting it (up
// to three), running it and a few progress polls.
constexpr int kOutRunExchangesGuess = 10;
// Selecting a transition takes up to three exchanges: mode select, preparation and pattern.
constexpr double kSelectExchanges = 3;
// An early out run's own commands (selecting it again and running it) must reach the player
// before the pause may follow; half an exchange spare.
constexpr double kOutRunStartExchanges = kSelectExchanges + 1.5;
// While a run's progress is followed, the next chance to send what is due comes one progress
// poll later.
constexpr double kFollowHoldExchanges = 1.5;
// After the run-in's following ends, a step check must still come before what is due next: the
// progress query under way at the deadline ends up to an exchange after it, and the step check
// comes one poll later, two when a speed check comes between.
constexpr double kInFollowReserveExchanges = 3;
// A deck that has given no accepted status for this long is taken as gone.
constexpr int kSilenceLimitMs = 2000;
// A recording recorder is asked whether it is still there this often, while its pause is at
// least kWatchClearExchanges away: the question delays one player poll by an exchange.
constexpr int kRecorderWatchMs = 400;
constexpr double kWatchClearExchanges = kHoldExchanges + 2;
// A recording recorder is taken as gone only when this many questions in a row went unanswered.
constexpr int kRecorderSilentAsks = 2;

// Transitions: a multiple of 100 is none; 101..110 run out before the recorder pauses, 111 and
// above after it and are selected ahead when their scene starts.
constexpr int kFirstTransition = 101;
constexpr int kLastEarlyOutTransition = 110;
constexpr int kFirstLateOutTransition = 111;
constexpr int kLastWipeTransition = 116;
constexpr int kLastTransition = 117;

bool IsNoTransition(int code) {
    return code % 100 == 0;
}

bool IsEarlyOut(int code) {
    return code >= kFirstTransition && code <= kLastEarlyOutTransition;
}

// Preview shows the late-out family through its early-out twins.
int PreviewTransition(int code) {
    if (code >= kFirstLateOutTransition && code <= kLastWipeTransition)
        return code - 6;
    if (code == kLastTransition)
        return kFirstTransition;
    return code;
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
      decks_(link, vtr) {
    vtr_.SetStepHook([this] { AutoTick(); });
    vtr_.SetPollHook([this](bool accepted) { OnPollAttempt(accepted); });
}

AutoEngine::~AutoEngine() {
    // A start job still queued or running uses this engine. It may serve other jobs while it
    // waits (the settle), so one job run behind it does not prove it ended: ask until it has.
    while (starting_.load())
        link_.Run([](CTarnIO&) { return true; });
    vtr_.SetStepHook(nullptr);
    vtr_.SetPollHook(nullptr);
}

void AutoEngine::SetRecordingSpan(int32_t start, int32_t end) {
    recordingStart_ = start;
    recordingEnd_ = end;
}

std::vector<SceneCheck> AutoEngine::SceneChecks() const {
    std::lock_guard lock(checksMutex_);
    return checks_;
}

void AutoEngine::AddCheck(const SceneCheck& check) {
    std::lock_guard lock(checksMutex_);
    checks_.push_back(check);
}

// ---- start ----------------------------------------------------------------------------------

void AutoEngine::ReadRecorderPosition() {
    // Read by the start job, on the link thread, before the run's first command.
    if (!IsRunning())
        readRecorderFirst_ = true;
}

void AutoEngine::ReadRecorderPositionNow() {
    if (decks_.Devices().recorderId == 0)
        return;
    const std::optional<int32_t> position = decks_.TryReadRecorderPosition();
    recordingStart_ = position.value_or(0);
    recordingStartKnown_ = position.has_value();
}

void AutoEngine::AutoStart(int kind) {
    if (IsRunning() || kind < kAutoGoto || kind > kAutoEdit)
        return;
    // What the run needs from the host is taken here, on the host's thread; the decks move only
    // on the link thread, so the start's commands and waits (Review's cue and its settle) go
    // there as a job, queued behind the commands sent before it. The ticks take over from it.
    BeginRun(kind);
    starting_ = true;
    const bool readRecorder = std::exchange(readRecorderFirst_, false);
    link_.Post([this, kind, readRecorder] {
        if (readRecorder)
            ReadRecorderPositionNow();
        StartByKind(kind);
        starting_ = false;
    });
}

void AutoEngine::BeginRun(int kind) {
    TakeRunInputs();
    placing_ = false;
    resumeCheckPending_ = false;
    stopKey_.clear();
    recorderPaused_ = true;
    step_ = Step::Cue;
    failure_ = {};
    phase_.Reset();
    savedView_ = host_.CurrentView();
    host_.SelectView(kPlayerView);
    const AutoDevices& devices = decks_.Devices();
    effects_.SetDevice(devices.playerHasEffects ? devices.playerId : 0);
    title_ = Caption(QStringLiteral("TI_MAIN"));
    progressTitle_ = OperationTitle(kind);
    ShowProgress();
    lastAnswerMs_ = clock_.NowMs();
}

void AutoEngine::TakeRunInputs() {
    decks_.SetDevices(host_.Devices());
    options_ = host_.Options();
    // The list cannot change while an operation runs (its windows are disabled), so the rows
    // as they are now are the rows of the whole run, and the link thread reads its own copy.
    const SceneList& list = host_.Scenes();
    rows_.clear();
    for (int i = 0; i < list.count(); ++i)
        rows_.push_back(list.row(i));
    row_ = std::clamp(list.current(), 0, list.count() - 1);
    listMode_ = list.timecodeMode();
    progressPlan_ = RunProgressPlan(rows_);
    shownProgress_ = {};
    resume_ = {};
}

void AutoEngine::StartByKind(int kind) {
    switch (kind) {
        case kAutoGoto:
        case kAutoPreview:
            target_ = CurrentRow().inFrames;
            break;
        case kAutoReview:
            bridge_.Post([](EngineHost& h) { h.ShowRecorderRecording(); });
            savedDevice_ = decks_.AddressedId();
            decks_.Address(decks_.Devices().recorderId);
            decks_.SetModeAndWait(ModeStop);
            target_ = recordingStart_;
            Cue(target_);  // a failure leaves step 0, and the first tick cues again
            break;
        case kAutoRec:
            if (!StartAutoRec()) {
                // Ended here on the host's thread: the ticks never see this run.
                AutoFinish(kAutoRec, {StopCause::NothingToRecord, StopDeck::None, StopStep::Start});
                return;
            }
            break;
        case kAutoPreroll:
            decks_.ReadStatus();
            target_ = decks_.Position() - options_.preRollFrames;
            break;
        case kAutoEdit:
            bridge_.Post([](EngineHost& h) { h.ShowRecorderRecording(); });
            decks_.RecorderCommand(true);
            decks_.ReadStatus();
            target_ = decks_.Position();
            break;
    }
    kind_ = kind;  // from here on the ticks run
}

bool AutoEngine::StartAutoRec() {
    for (int i = 1; i < static_cast<int>(rows_.size()); ++i) {
        const Scene& row = rows_[static_cast<size_t>(i)];
        if (row.tapeChange || row.durationFrames == 0)
            continue;
        SelectRow(i);
        bridge_.Post([](EngineHost& h) {
            h.ShowRecorderRecording();
            h.SetArrowFlashing(true);
        });
        {
            std::lock_guard lock(checksMutex_);
            checks_.clear();
        }
        sceneChecked_ = false;
        seam_ =
            recordingStartKnown_ ? std::optional<int32_t>(recordingStart_.load()) : std::nullopt;
        target_ = row.inFrames;
        ReportProgress();
        // Only a recorder's own counter tells where the tape stands. Whatever point an earlier
        // run kept is replaced now: this run may record over the tape it described.
        if (decks_.Devices().recorderId != 0 && recordingStartKnown_)
            resume_ = {ListFingerprint(rows_, listMode_), 0, recordingStart_, recordingStart_};
        bridge_.Post([point = resume_](EngineHost& h) { h.KeepResumePoint(point); });
        decks_.RecorderCommand(true);
        return true;
    }
    return false;
}

// ---- tick -----------------------------------------------------------------------------------

void AutoEngine::AutoTick() {
    if (kind_.load() == kAutoIdle)
        return;
    lastAnswerMs_ = clock_.NowMs();
    failure_ = {};
    if (stopsignals::Received() != 0 || host_.StopRequested()) {
        End(StopNow());
        return;
    }
    if (kind_.load() == kAutoRec && !placing_)
        ReportProgress();
    if (step_ == Step::Cue) {
        if (!(placing_ ? CueRecorder() : Cue(target_)))
            End(FailureNow());
        return;
    }
    ObservePosition();
    switch (RunStep()) {
        case StepOutcome::Wait:
            // The step's own commands were answered; waits inside it are not silence.
            lastAnswerMs_ = clock_.NowMs();
            break;
        case StepOutcome::Fail:
            End(FailureNow());
            break;
        case StepOutcome::Stop:
            End(StopNow());
            break;
        case StepOutcome::Done:
            End({});
            break;
    }
}

// Without this a deck that falls silent would never tick again, and even Stop would go unseen.
void AutoEngine::OnPollAttempt(bool accepted) {
    if (accepted || kind_.load() == kAutoIdle)
        return;
    if (stopsignals::Received() != 0 || host_.StopRequested()) {
        End(StopNow());
    } else if (clock_.NowMs() - lastAnswerMs_.load() > kSilenceLimitMs) {
        failure_ = {};
        Fail(StopCause::NoAnswer, AddressedDeck());
        End(FailureNow());
    }
}

StopReason AutoEngine::StopNow() const {
    return {stopsignals::FromSystem() ? StopCause::Signal : StopCause::UserStop, StopDeck::None,
            CurrentStopStep()};
}

StopReason AutoEngine::FailureNow() const {
    StopReason reason = failure_;
    if (reason.cause == StopCause::None)
        reason = {StopCause::NoAnswer, AddressedDeck()};
    // A pulled cable and a deck that stopped answering need different hands.
    if (reason.cause == StopCause::NoAnswer && link_.Comm().HungUp())
        reason = {StopCause::PortLost, StopDeck::None};
    // Until a resumed run's recorder stands on its frame, every failure means it cannot get
    // there.
    if (placing_)
        reason = {StopCause::CannotPlace, StopDeck::Recorder};
    reason.step = CurrentStopStep();
    return reason;
}

bool AutoEngine::Fail(StopCause cause, StopDeck deck) {
    failure_ = {cause, deck};
    return false;
}

bool AutoEngine::Failed(DeckReply reply, StopDeck deck) {
    return Fail(reply.answer == DeckAnswer::Refused ? StopCause::Refused : StopCause::NoAnswer,
                deck);
}

StopDeck AutoEngine::AddressedDeck() const {
    const int recorder = decks_.Devices().recorderId;
    return recorder != 0 && decks_.AddressedId() == recorder ? StopDeck::Recorder
                                                             : StopDeck::Player;
}

StopStep AutoEngine::CurrentStopStep() const {
    if (placing_)
        return StopStep::PlaceRecorder;
    const int kind = kind_.load();
    switch (step_) {
        case Step::Cue:
            return StopStep::Cue;
        case Step::Search:
            return StopStep::Search;
        case Step::PlayToScene:
            if (kind == kAutoEdit)
                return StopStep::InPoint;
            return kind == kAutoRec || kind == kAutoPreview ? StopStep::PlayToScene
                                                            : StopStep::PauseAt;
        case Step::PausedAtTarget:
            return StopStep::PauseAt;
        case Step::AwaitInPoint:
            return StopStep::InPoint;
        case Step::InPointPassed:
            return StopStep::Transition;
        case Step::AwaitOutPoint:
        case Step::OutTransitionStarted:
            return StopStep::OutPoint;
        case Step::OutPointPassed:
            return StopStep::RunOn;
        case Step::NextScene:
            return StopStep::TapeChange;
    }
    return StopStep::None;
}

namespace {

// For steps whose failure ends the operation.
AutoEngine::StepOutcome Checked(bool ok) {
    return ok ? AutoEngine::StepOutcome::Wait : AutoEngine::StepOutcome::Fail;
}

}  // namespace

AutoEngine::StepOutcome AutoEngine::RunStep() {
    switch (kind_.load()) {
        case kAutoGoto:
        case kAutoPreroll:
        case kAutoReview:
            if (step_ == Step::Search)
                return Checked(Search(target_));
            if (step_ == Step::PlayToScene)
                return Checked(PauseAt(kind_ == kAutoReview ? recordingEnd_.load() : target_));
            return step_ == Step::PausedAtTarget ? StepOutcome::Done : StepOutcome::Wait;
        case kAutoPreview:
            return RunSceneStep(false);
        case kAutoRec:
            return placing_ ? PlaceRecorder() : RunSceneStep(true);
        case kAutoEdit:
            if (step_ == Step::Search)
                return Checked(Search(target_));
            if (step_ == Step::PlayToScene)
                return Checked(EditPoint(target_, Side::In, true));
            return step_ == Step::InPointPassed ? StepOutcome::Done : StepOutcome::Wait;
    }
    return StepOutcome::Wait;
}

// Preview and Auto Rec share their steps up to the out point; only Auto Rec records, runs on
// past the out point and goes on to the next scene.
AutoEngine::StepOutcome AutoEngine::RunSceneStep(bool record) {
    switch (step_) {
        case Step::Search:
            return Checked(Search(target_));
        case Step::PlayToScene:
            PrepareTransition();  // a refusal is tried again at the next tick
            return StepOutcome::Wait;
        case Step::AwaitInPoint:
            return Checked(EditPoint(target_, Side::In, record));
        case Step::InPointPassed:
            return Checked(InTransition(target_));
        case Step::AwaitOutPoint:
            if (record && !RecorderStillThere())
                return StepOutcome::Fail;
            return Checked(EditPoint(CurrentRow().outFrames, Side::Out, record));
        case Step::OutTransitionStarted:
            return Checked(EditPoint(CurrentRow().outFrames, Side::Out, record));
        case Step::OutPointPassed:
            return record ? Checked(PastOut(CurrentRow().outFrames)) : StepOutcome::Done;
        case Step::NextScene:
            return record ? NextScene() : StepOutcome::Wait;
        case Step::Cue:  // the tick runs the cue itself
        case Step::PausedAtTarget:
            return StepOutcome::Wait;
    }
    return StepOutcome::Wait;
}

// ---- handlers -------------------------------------------------------------------------------

bool AutoEngine::Cue(int32_t target) {
    decks_.ReadStatus();
    if (decks_.Mode() != ModePlay) {
        if (const DeckReply r = decks_.SetModeAndWait(ModePlay); !r)
            return Failed(r, AddressedDeck());
        SettleAfterPlay();
    }
    decks_.ReadStatus();
    const int search = decks_.Position() <= target - options_.searchDistance ? ModeForwardSearch
                                                                             : ModeReverseSearch;
    if (const DeckReply r = decks_.SetModeAndWait(search); !r)
        return Failed(r, AddressedDeck());
    decks_.ReadStatus();
    step_ = Step::Search;
    lastAnswerMs_ = clock_.NowMs();  // the cue's own commands were answered
    return true;
}

bool AutoEngine::Search(int32_t target) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    const int mode = decks_.Mode();
    const int32_t position = decks_.Position();
    const int32_t limit = mode == ModeForwardSearch ? target - options_.searchDistance
                                                    : target - ReverseSearchLeadFrames();
    if ((mode == ModeReverseSearch && position < limit) ||
        (mode == ModeForwardSearch && position > limit)) {
        if (const DeckReply r = decks_.SetModeAndWait(ModePlay); !r)
            return Failed(r, AddressedDeck());
        step_ = Step::PlayToScene;
    }
    decks_.ReadStatus();
    return true;
}

bool AutoEngine::PauseAt(int32_t target) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    if (MomentHasCome(target + kStandPhase, PauseLeadFrames(), kHoldExchanges)) {
        if (const DeckReply r = decks_.SetModeAndWait(ModePause); !r)
            return Failed(r, AddressedDeck());
        decks_.ReadStatus();
        step_ = Step::PausedAtTarget;
    }
    return true;
}

int32_t AutoEngine::ReverseSearchLeadFrames() const {
    return placing_ ? PlayUpFrames() : kReverseSearchLeadFrames;
}

int AutoEngine::PauseLeadFrames() const {
    const int recorder = decks_.Devices().recorderId;
    return recorder != 0 && decks_.AddressedId() == recorder ? options_.recorderPauseLead
                                                             : options_.playerPauseLead;
}

bool AutoEngine::EditPoint(int32_t point, Side side, bool record) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    const bool out = side == Side::Out;
    // The corrections are the recorder's latencies: frames from its command to its tape.
    const int correction = out ? options_.outCorrection : options_.inCorrection;
    const double at = point + (out ? kRecordPausePhase : kRecordStartPhase);
    if (out && IsEarlyOut(CurrentRow().transition) && step_ == Step::AwaitOutPoint) {
        if (!MomentHasCome(at, EarlyOutLeadFrames(), kHoldExchanges))
            return true;
        if (!RunEarlyOutTransition(at, record))
            return false;
        if (step_ == Step::OutPointPassed)
            return true;  // the pause went out while the run was followed
    }
    if (!MomentHasCome(at, correction, kHoldExchanges))
        return true;
    return PassEditPoint(side, record);
}

bool AutoEngine::PassEditPoint(Side side, bool record) {
    const bool out = side == Side::Out;
    if (record && out != recorderPaused_) {
        if (const DeckReply r = decks_.RecorderCommand(out); !r)
            return Failed(r, StopDeck::Recorder);
        recorderAnswerMs_ = clock_.NowMs();
        recorderMissedAsks_ = 0;
        if (out)
            recorderStandsUs_ = clock_.NowUs() + phase_.DurationUs(options_.outCorrection);
        if (out && CurrentRow().transition >= kFirstLateOutTransition && !RunLateOutTransition())
            return false;
    } else {
        bridge_.Post([](EngineHost& h) { h.PlayBeep(); });
    }
    recorderPaused_ = out;
    step_ = out ? Step::OutPointPassed : Step::InPointPassed;
    return true;
}

bool AutoEngine::RunEarlyOutTransition(double at, bool record) {
    // The run's commands go first, and the pause follows at its own moment while the run's
    // progress is still followed: a run longer than the recorder's stop, or a scene shorter
    // than both, still ends on the frame where the recorder stands.
    bool passed = true;
    int64_t pauseUs = 0;
    const auto pauseWhenDue = [&] {
        if (step_ != Step::AwaitOutPoint || !phase_.Known() ||
            !MomentHasCome(at, options_.outCorrection, kFollowHoldExchanges))
            return true;
        const int64_t sent = clock_.NowUs();
        passed = PassEditPoint(Side::Out, record);
        pauseUs = clock_.NowUs() - sent;
        return passed;
    };
    const int64_t start = clock_.NowUs();
    if (!OutTransition(pauseWhenDue))
        return false;
    // The run's own length, for the next plan: the pause's exchange is not part of it.
    earlyOutRunUs_ = clock_.NowUs() - start - pauseUs;
    return passed;
}

// The polls follow the player alone, so a recorder that fell silent while recording would show
// only at the scene's out point, possibly minutes later. Between its commands it is asked now
// and then whether it is still there.
bool AutoEngine::RecorderStillThere() {
    if (decks_.Devices().recorderId == 0 || recorderPaused_)
        return true;
    const int64_t nowMs = clock_.NowMs();
    if (nowMs - recorderAskedMs_ < kRecorderWatchMs || PauseMomentNear())
        return true;
    recorderAskedMs_ = nowMs;
    if (decks_.ReadRecorder(1).ok) {
        recorderAnswerMs_ = clock_.NowMs();
        recorderMissedAsks_ = 0;
        return true;
    }
    // The first question may come long after the record command (a transition ran meanwhile):
    // one lost reply then is no silence.
    ++recorderMissedAsks_;
    if (recorderMissedAsks_ >= kRecorderSilentAsks &&
        clock_.NowMs() - recorderAnswerMs_ > kSilenceLimitMs)
        return Fail(StopCause::NoAnswer, StopDeck::Recorder);
    return true;
}

bool AutoEngine::PauseMomentNear() const {
    if (!phase_.Known())
        return true;  // without an estimate of the tape, every poll may be the pause's
    const int64_t writeUs =
        WriteMomentUs(CurrentRow().outFrames + kRecordPausePhase, FirstOutLeadFrames());
    return writeUs - clock_.NowUs() < static_cast<int64_t>(kWatchClearExchanges * exchangeUs_);
}

bool AutoEngine::TimedOutTransition(int64_t* runUs) {
    const int64_t start = clock_.NowUs();
    if (!OutTransition({}))
        return false;
    *runUs = clock_.NowUs() - start;
    return true;
}

bool AutoEngine::RunLateOutTransition() {
    // This family runs out after the pause command: it starts so that it ends as the recorder
    // stands, when its length is known.
    if (phase_.Known() && lateOutRunUs_ >= 0)
        WaitUntilUs(recorderStandsUs_ - lateOutRunUs_);
    return TimedOutTransition(&lateOutRunUs_);
}

double AutoEngine::EarlyOutLeadFrames() const {
    // The run is planned to end as the recorder stands; until one has been timed, its length
    // is guessed from the time one exchange takes. Its commands must still reach the player
    // before the pause's moment.
    const int64_t runUs =
        earlyOutRunUs_ >= 0 ? earlyOutRunUs_ : kOutRunExchangesGuess * exchangeUs_;
    const double beforePause =
        options_.outCorrection + FramesOf(kOutRunStartExchanges * exchangeUs_);
    return std::max(FramesOf(static_cast<double>(runUs)), beforePause);
}

double AutoEngine::FirstOutLeadFrames() const {
    return IsEarlyOut(CurrentRow().transition) ? EarlyOutLeadFrames() : options_.outCorrection;
}

double AutoEngine::FramesOf(double us) const {
    const double fps = phase_.Known() ? phase_.FramesPerSecond() : decks_.FramesPerSecond();
    return us * fps / 1e6;
}

// ---- timing between polls -------------------------------------------------------------------

void AutoEngine::ObservePosition() {
    // The tick follows the poll's reply at once: the exchange took from its writing until now.
    const StatusSample sample = vtr_.LastSample();
    const int64_t exchange = clock_.NowUs() - (sample.heardUs - linktiming::kRequestLineUs);
    if (exchange > 0)
        exchangeUs_ = exchangeUs_ == 0 ? exchange : (3 * exchangeUs_ + exchange) / 4;
    if (!sample.hasCounter || sample.busy || decks_.Mode() != ModePlay) {
        phase_.Reset();
        return;
    }
    phase_.Observe(sample.counter, sample.heardUs);
}

int64_t AutoEngine::WriteMomentUs(double position, double leadFrames) const {
    return phase_.TimeOf(position) - phase_.DurationUs(leadFrames) - linktiming::kRequestLineUs;
}

bool AutoEngine::MomentHasCome(double position, double leadFrames, double holdExchanges) {
    if (!phase_.Known())
        return decks_.Position() + 1 > position - leadFrames;
    const int64_t writeUs = WriteMomentUs(position, leadFrames);
    if (writeUs > clock_.NowUs() + static_cast<int64_t>(holdExchanges * exchangeUs_))
        return false;  // a later chance holds it
    WaitUntilUs(writeUs);
    return true;
}

void AutoEngine::WaitUntilUs(int64_t us) {
    for (;;) {
        const int64_t left = us - clock_.NowUs();
        if (left <= 0)
            return;
        if (left > kFineWaitUs)
            clock_.Sleep(static_cast<int>((left - kFineWaitUs / 2) / 1000));
        else
            std::this_thread::yield();
    }
}

int64_t AutoEngine::InFollowDeadlineUs() const {
    if (!phase_.Known())
        return 0;
    // Selecting the scene's own joining transition also comes before that step check.
    const double reserve =
        kInFollowReserveExchanges +
        (CurrentRow().transition >= kFirstLateOutTransition ? kSelectExchanges : 0);
    return WriteMomentUs(CurrentRow().outFrames + kRecordPausePhase, FirstOutLeadFrames()) -
           static_cast<int64_t>(reserve * static_cast<double>(exchangeUs_));
}

bool AutoEngine::PrepareTransition() {
    if (decks_.Stopped())
        return false;  // waits for the user's Stop instead of failing
    if (EffectsActive()) {
        const int code = IncomingTransition();
        if (!IsNoTransition(code)) {
            if (!effects_.SelectTransition(code) || !effects_.ArmTransition(code, true))
                return false;
        } else if (!effects_.ArmTransition(code, false)) {
            return false;
        }
        effects_.SetEffect(CurrentRow().effect);
    }
    step_ = Step::AwaitInPoint;
    return true;
}

bool AutoEngine::InTransition(int32_t target) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    if (EffectsActive()) {
        // The run-in reaches the player as the in point plays, half a frame before the
        // recorder's tape starts: the first frame recorded is already part of the transition.
        if (!MomentHasCome(target, 0, kHoldExchanges))
            return true;
        const int64_t deadline = InFollowDeadlineUs();
        effects_.RunTransition(IncomingTransition(), EffectUnit::Side::In, [this, deadline] {
            return deadline == 0 || clock_.NowUs() < deadline;
        });
        const int own = CurrentRow().transition;
        if (own >= kFirstLateOutTransition)
            effects_.SelectTransition(own);
    }
    step_ = Step::AwaitOutPoint;
    return true;
}

bool AutoEngine::OutTransition(const std::function<bool()>& betweenPolls) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    if (EffectsActive())
        effects_.RunTransition(CurrentRow().transition, EffectUnit::Side::Out, betweenPolls);
    if (step_ == Step::AwaitOutPoint)
        step_ = Step::OutTransitionStarted;
    return true;
}

bool AutoEngine::PastOut(int32_t outPoint) {
    if (decks_.Stopped())
        return Fail(StopCause::TapeEnd, AddressedDeck());
    const bool runOnEnded = decks_.Position() > outPoint + kRunOnFrames;
    CheckScene(runOnEnded);
    if (runOnEnded)
        step_ = Step::NextScene;
    return true;
}

void AutoEngine::NoteSceneOnTape(const SceneCheck& check) {
    // An unreadable recorder leaves the point at the last scene whose end is known: a resume
    // records this scene again from there.
    if (resume_.IsEmpty() || !check.endPosition)
        return;
    resume_.lastRow = check.row;
    resume_.recorderAt = *check.endPosition;
    bridge_.Post([point = resume_](EngineHost& h) { h.KeepResumePoint(point); });
}

void AutoEngine::CheckScene(bool runOnEnded) {
    if (sceneChecked_)
        return;
    SceneCheck check;
    check.row = row_;
    check.expectedFrames = CurrentRow().durationFrames;
    check.scene = progressPlan_.SceneNumber(row_);
    check.resumed = resumeCheckPending_;
    if (decks_.Devices().recorderId != 0) {
        // Once the recorder should stand; while it still settles it is read again at the next
        // step check, until the run-on is over.
        if (!runOnEnded &&
            clock_.NowUs() < recorderStandsUs_ + phase_.DurationUs(kStandMarginFrames))
            return;
        const EngineDecks::RecorderReading reading =
            decks_.ReadRecorder(linktiming::kCommandAttempts);
        if (!runOnEnded && (!reading.ok || reading.busy))
            return;
        // An unreadable counter is unknown, never a position: the next scene's seam is unknown
        // too rather than measured from this one's start.
        check.startPosition = seam_;
        check.endPosition = reading.ok ? std::optional<int32_t>(reading.position) : std::nullopt;
        seam_ = check.endPosition;
    }
    sceneChecked_ = true;
    resumeCheckPending_ = false;
    AddCheck(check);
    NoteSceneOnTape(check);
}

AutoEngine::StepOutcome AutoEngine::NextScene() {
    const int count = static_cast<int>(rows_.size());
    for (int i = row_ + 1; i < count; ++i) {
        SelectRow(i);
        const Scene& row = rows_[static_cast<size_t>(i)];
        if (row.tapeChange) {
            if (!PassTapeChange(i))
                return StepOutcome::Stop;
            continue;
        }
        if (row.durationFrames != 0) {
            target_ = row.inFrames;
            sceneChecked_ = false;
            step_ = Step::Cue;
            return StepOutcome::Wait;
        }
    }
    return StepOutcome::Done;
}

bool AutoEngine::PassTapeChange(int row) {
    decks_.SetModeAndWait(ModeStop);
    decks_.ReadStatus();
    bridge_.Post([](EngineHost& h) { h.CloseProgress(); });
    const QString text = TapeChangeText(rows_, row, captions_);
    const bool goOn = bridge_.Ask(
        [title = title_, text](EngineHost& h) { return h.ConfirmTapeChange(title, text); }, false);
    lastAnswerMs_ = clock_.NowMs();  // no polls ran while the user answered
    if (goOn) {
        ShowProgress();
        // A new tape: its scenes begin wherever it stands.
        if (decks_.Devices().recorderId != 0)
            seam_ = decks_.TryReadRecorderPosition();
    }
    return goOn;
}

// ---- finish ---------------------------------------------------------------------------------

void AutoEngine::End(const StopReason& reason) {
    AutoFinish(kind_.load(), reason);
}

namespace {

int ResultOf(const StopReason& reason) {
    if (reason.cause == StopCause::None)
        return kAutoFinished;
    return reason.IsStop() ? kAutoStopped : kAutoFailed;
}

}  // namespace

void AutoEngine::AutoFinish(int kind, const StopReason& reason) {
    const int result = ResultOf(reason);
    const int view = savedView_;
    // A recorder still recording is what harms a tape: it is paused before anything else.
    const bool recorderPausedFirst = kind == kAutoRec && !recorderPaused_;
    if (recorderPausedFirst)
        decks_.RecorderCommand(true);
    if (kind == kAutoRec && result == kAutoFinished && decks_.Devices().recorderId != 0)
        ReadRecordingEnd();
    // A run that never began recording (nothing to record) leaves the kept point alone.
    if (kind == kAutoRec && (result == kAutoFinished || !resume_.IsEmpty())) {
        const ResumePoint kept = result == kAutoFinished ? ResumePoint{} : resume_;
        bridge_.Post([kept](EngineHost& h) { h.KeepResumePoint(kept); });
    }
    if (kind == kAutoRec && !SceneChecks().empty()) {
        const VerificationReport report(SceneChecks(), decks_.TimecodeMode(),
                                        options_.outCorrection, reason);
        bridge_.Post([report](EngineHost& h) { h.ShowVerification(report); });
    }
    recorderPaused_ = true;
    step_ = Step::Cue;
    ResetEffects();
    bridge_.Post([](EngineHost& h) {
        h.CloseProgress();
        h.EnableAutoRec();
        h.SetArrowFlashing(false);
    });
    LeaveDecks(kind, recorderPausedFirst);
    kind_ = kAutoIdle;
    bridge_.Post([](EngineHost& h) { h.EnableWindows(); });
    const bool success = result == kAutoFinished;
    const QString text = FinalText(reason);
    bridge_.Ask(
        [title = title_, text, success](EngineHost& h) {
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
    if (reason.cause == StopCause::None)
        return Caption(QStringLiteral("MSG_AUTOEND"));
    QString first = Caption(QStringLiteral("MSG_AUTOSTOP"));
    if (reason.cause == StopCause::PortLost)
        first = Caption(QStringLiteral("MSG_PORTLOST")).arg(link_.Comm().DevicePath());
    else if (reason.cause == StopCause::CannotPlace && !stopKey_.isEmpty())
        first = Caption(stopKey_);
    return first + u'\n' + reason.Text(captions_);
}

void AutoEngine::ReadRecordingEnd() {
    const int32_t end = decks_.TryReadRecorderPosition().value_or(0);
    recordingEnd_ = end;
    if (end > recordingStart_.load())
        bridge_.Post([](EngineHost& h) { h.EnableReview(); });
}

void AutoEngine::ResetEffects() {
    effects_.ArmTransition(0, false);
    effects_.ArmTransition(100, false);
    effects_.SetEffect(0);
    effects_.SelectTransition(100);
}

void AutoEngine::LeaveDecks(int kind, bool recorderPaused) {
    switch (kind) {
        case kAutoRec:
            // The recorder waits in rec-pause, so a later run appends where this one ended.
            decks_.Address(decks_.Devices().playerId);  // a resume may end while placing it
            decks_.SetModeAndWait(ModeStop);
            if (!recorderPaused)
                decks_.RecorderCommand(true);
            decks_.ReadStatus();
            break;
        case kAutoPreview:
            decks_.SetModeAndWait(ModeStop);
            decks_.ReadStatus();
            break;
        case kAutoReview:
            decks_.Address(savedDevice_);
            break;
        default:
            break;  // Goto and Preroll leave the player paused; Edit leaves both decks running
    }
}

// ---- helpers --------------------------------------------------------------------------------

int AutoEngine::IncomingTransition() const {
    const int code = row_ > 0 ? rows_[static_cast<size_t>(row_ - 1)].transition : 0;
    return kind_.load() == kAutoPreview ? PreviewTransition(code) : code;
}

bool AutoEngine::EffectsActive() const {
    // Effects only act at normal forward play.
    return effects_.Device() != 0 && decks_.SpeedByte() == 0;
}

void AutoEngine::SettleAfterPlay() {
    const int64_t end = clock_.NowMs() + kSettleAfterPlayMs;
    for (;;) {
        if (link_.OnLinkThread())
            link_.ServePending();
        const int64_t left = end - clock_.NowMs();
        if (left <= 0) {
            // Silence is counted from here: Review cues before its first tick, so a poll that
            // goes unanswered just after its cue must not see the settle as silence.
            lastAnswerMs_ = clock_.NowMs();
            return;
        }
        clock_.Sleep(static_cast<int>(std::min<int64_t>(left, kSettleSliceMs)));
    }
}

QString AutoEngine::Caption(const QString& key) const {
    // Without a caption file the user still learns what happened.
    const QString text = captions_.CaptionText(key);
    return text.isEmpty() ? key : text;
}

void AutoEngine::SelectRow(int i) {
    row_ = i;
    bridge_.Post([i](EngineHost& h) { h.SelectRow(i); });
}

void AutoEngine::ReportProgress() {
    const RunProgress now = progressPlan_.At(row_, RecordedInRow(), clock_.NowMs());
    // Tape and time left are shown in whole seconds: more often would only load the windows.
    const int fps = FramesPerSecond(listMode_);
    const RunProgress& shown = shownProgress_;
    if (now.scene == shown.scene && now.percent == shown.percent &&
        now.framesLeft / fps == shown.framesLeft / fps && now.msLeft / 1000 == shown.msLeft / 1000)
        return;
    shownProgress_ = now;
    QString text =
        Caption(QStringLiteral("MSG_AUTOSCENE")).arg(now.scene).arg(now.scenes) + u'\n' +
        Caption(QStringLiteral("MSG_AUTOLEFT")).arg(FramesToText(now.framesLeft, listMode_));
    if (now.msLeft >= 0)
        text += u'\n' + Caption(QStringLiteral("MSG_AUTOTIME")).arg(RealTimeText(now.msLeft));
    bridge_.Post([now, text](EngineHost& h) { h.ShowRunProgress(now, text); });
}

int32_t AutoEngine::RecordedInRow() const {
    switch (step_) {
        case Step::InPointPassed:
        case Step::AwaitOutPoint:
        case Step::OutTransitionStarted:
            return decks_.Position() - CurrentRow().inFrames;
        case Step::OutPointPassed:
        case Step::NextScene:
            return CurrentRow().durationFrames;
        default:
            return 0;
    }
}

void AutoEngine::ShowProgress() {
    bridge_.Post(
        [title = progressTitle_](EngineHost& h) { h.ShowProgress(title, kProgressStopButton); });
}

QString AutoEngine::OperationTitle(int kind) const {
    // The progress window says which operation holds the windows ("Auto Rec – Clipwright").
    static const char* const kKeys[] = {"TI_GOTO",    "TI_PREVIEW", "TI_REVIEW",
                                        "TI_AUTOREC", "TI_PREROLL", "TI_EDIT"};
    const QString text = kind >= kAutoGoto && kind <= kAutoEdit
                             ? captions_.CaptionText(QLatin1String(kKeys[kind - kAutoGoto]))
                             : QString();
    return text.isEmpty() ? title_ : text;
}
