#include "engine/EditPoints.h"

#include "edit/EffectCodes.h"
#include "engine/EngineHost.h"
#include "engine/EngineRun.h"
#include "engine/HostBridge.h"
#include "engine/SceneTransitions.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"

using effectcodes::NeedsFollowingScene;

namespace {

constexpr double kHoldExchanges = CommandScheduler::kHoldExchanges;
// The recorder's tape is started as the player is half a frame into the in point, so that a
// timing error of up to half a frame either way still records the in point first.
constexpr double kRecordStartPhase = 0.5;
// The recorder is paused half a frame into the frame after the scene's last: that frame, where
// it stands, is where the next scene begins, and the scene keeps exactly its length.
constexpr double kRecordPausePhase = 1.0;
// While a run's progress is followed, the next chance to send what is due comes one progress
// poll later.
constexpr double kFollowHoldExchanges = 1.5;
// After the run-in's following ends, a step check must still come before what is due next: the
// progress query under way at the deadline ends up to an exchange after it, and the step check
// comes one poll later, two when a speed check comes between.
constexpr double kInFollowReserveExchanges = 3;
// A recording recorder is asked whether it is still there this often, while its pause is at
// least kWatchClearExchanges away: the question delays one player poll by an exchange.
constexpr int kRecorderWatchMs = 400;
constexpr double kWatchClearExchanges = kHoldExchanges + 2;
// A recording recorder is taken as gone only when this many questions in a row went unanswered.
constexpr int kRecorderSilentAsks = 2;

}  // namespace

bool EditPoints::Pass(int32_t point, Side side, bool record) {
    if (run_.decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    const bool out = side == Side::Out;
    // The corrections are the recorder's latencies: frames from its command to its tape.
    const int correction = out ? run_.options.outCorrection : run_.options.inCorrection;
    const double at = point + (out ? kRecordPausePhase : kRecordStartPhase);
    CommandScheduler& scheduler = run_.scheduler;
    if (out && effectcodes::RunsOutEarly(run_.CurrentRow().transition) &&
        run_.step == EngineStep::AwaitOutPoint) {
        if (!scheduler.MomentHasCome(at, transitions_.EarlyOutLeadFrames(), kHoldExchanges,
                                     run_.decks.Position()))
            return true;
        if (!RunEarlyOutTransition(at, record))
            return false;
        if (run_.step == EngineStep::OutPointPassed)
            return true;  // the pause went out while the run was followed
    }
    if (!scheduler.MomentHasCome(at, correction, kHoldExchanges, run_.decks.Position()))
        return true;
    return PassEditPoint(side, record);
}

bool EditPoints::PassEditPoint(Side side, bool record) {
    const bool out = side == Side::Out;
    if (record && out != run_.recorderPaused) {
        if (const DeckReply r = run_.decks.RecorderCommand(out); !r)
            return run_.Failed(r, StopDeck::Recorder);
        recorderAnswerMs_ = run_.clock.NowMs();
        recorderMissedAsks_ = 0;
        if (out)
            NoteRecorderStands();
        if (out && NeedsFollowingScene(run_.CurrentRow().transition)) {
            // This family runs out after the pause command.
            if (run_.decks.Stopped())
                return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
            transitions_.RunLateOut(recorderStandsUs_.value_or(run_.scheduler.NowUs()));
        }
    } else {
        run_.bridge.Post([](EngineHost& h) { h.PlayBeep(); });
    }
    run_.recorderPaused = out;
    run_.step = out ? EngineStep::OutPointPassed : EngineStep::InPointPassed;
    return true;
}

void EditPoints::NoteRecorderStands() {
    // Without the tape's measured rate the moment is not known: nothing is planned on a guess.
    const std::optional<int64_t> stop = run_.scheduler.DurationUs(run_.options.outCorrection);
    recorderStandsUs_.reset();
    if (stop)
        recorderStandsUs_ = run_.scheduler.NowUs() + *stop;
}

bool EditPoints::RunEarlyOutTransition(double at, bool record) {
    // The run's commands go first, and the pause follows at its own moment while the run's
    // progress is still followed: a run longer than the recorder's stop, or a scene shorter
    // than both, still ends on the frame where the recorder stands.
    CommandScheduler& scheduler = run_.scheduler;
    bool passed = true;
    int64_t pauseUs = 0;
    const auto pauseWhenDue = [&] {
        if (run_.step != EngineStep::AwaitOutPoint || !scheduler.Known() ||
            !scheduler.MomentHasCome(at, run_.options.outCorrection, kFollowHoldExchanges,
                                     run_.decks.Position()))
            return true;
        const int64_t sent = scheduler.NowUs();
        passed = PassEditPoint(Side::Out, record);
        pauseUs = scheduler.NowUs() - sent;
        return passed;
    };
    const int64_t start = scheduler.NowUs();
    if (!OutTransition(pauseWhenDue))
        return false;
    // The run's own length, for the next plan: the pause's exchange is not part of it.
    transitions_.NoteEarlyOutRun(scheduler.NowUs() - start - pauseUs);
    return passed;
}

bool EditPoints::OutTransition(const std::function<bool()>& betweenPolls) {
    if (run_.decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    if (transitions_.Active())
        transitions_.RunOut(betweenPolls);
    if (run_.step == EngineStep::AwaitOutPoint)
        run_.step = EngineStep::OutTransitionStarted;
    return true;
}

bool EditPoints::InTransition(int32_t target) {
    if (run_.decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    if (transitions_.Active()) {
        // The run-in reaches the player as the in point plays, half a frame before the
        // recorder's tape starts: the first frame recorded is already part of the transition.
        if (!run_.scheduler.MomentHasCome(target, 0, kHoldExchanges, run_.decks.Position()))
            return true;
        transitions_.RunIn(InFollowDeadlineUs());
    }
    run_.step = EngineStep::AwaitOutPoint;
    return true;
}

int64_t EditPoints::InFollowDeadlineUs() const {
    const CommandScheduler& scheduler = run_.scheduler;
    if (!scheduler.Known())
        return 0;
    // Selecting the scene's own joining transition also comes before that step check.
    const double reserve =
        kInFollowReserveExchanges + (NeedsFollowingScene(run_.CurrentRow().transition)
                                         ? SceneTransitions::kSelectExchanges
                                         : 0);
    return scheduler.WriteMomentUs(run_.CurrentRow().outFrames + kRecordPausePhase,
                                   FirstOutLeadFrames()) -
           scheduler.ExchangesUs(reserve);
}

double EditPoints::FirstOutLeadFrames() const {
    return effectcodes::RunsOutEarly(run_.CurrentRow().transition)
               ? transitions_.EarlyOutLeadFrames()
               : run_.options.outCorrection;
}

// The polls follow the player alone, so a recorder that fell silent while recording would show
// only at the scene's out point, possibly minutes later. Between its commands it is asked now
// and then whether it is still there.
bool EditPoints::RecorderStillThere() {
    if (run_.decks.Devices().recorderId == 0 || run_.recorderPaused)
        return true;
    const int64_t nowMs = run_.clock.NowMs();
    if (nowMs - recorderAskedMs_ < kRecorderWatchMs || PauseMomentNear())
        return true;
    recorderAskedMs_ = nowMs;
    if (run_.decks.ReadRecorder(1).ok) {
        recorderAnswerMs_ = run_.clock.NowMs();
        recorderMissedAsks_ = 0;
        return true;
    }
    // The first question may come long after the record command (a transition ran meanwhile):
    // one lost reply then is no silence.
    ++recorderMissedAsks_;
    if (recorderMissedAsks_ >= kRecorderSilentAsks &&
        run_.clock.NowMs() - recorderAnswerMs_ > EngineRun::kSilenceLimitMs)
        return run_.Fail(StopCause::NoAnswer, StopDeck::Recorder);
    return true;
}

bool EditPoints::PauseMomentNear() const {
    const CommandScheduler& scheduler = run_.scheduler;
    if (!scheduler.Known())
        return true;  // without an estimate of the tape, every poll may be the pause's
    const int64_t writeUs = scheduler.WriteMomentUs(run_.CurrentRow().outFrames + kRecordPausePhase,
                                                    FirstOutLeadFrames());
    return writeUs - scheduler.NowUs() < scheduler.ExchangesUs(kWatchClearExchanges);
}
