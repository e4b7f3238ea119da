#include "engine/SceneTransitions.h"

#include <algorithm>

#include "edit/EffectCodes.h"
#include "engine/EffectUnit.h"
#include "engine/EngineRun.h"

using effectcodes::IsNoTransition;

namespace {

// Exchanges an out transition is guessed to take before one has been timed: selecting it (up
// to three), running it and a few progress polls.
constexpr int kOutRunExchangesGuess = 10;

}  // namespace

bool SceneTransitions::Active() const {
    return run_.effects.Device() != 0 && run_.decks.SpeedByte() == 0;
}

int SceneTransitions::Incoming() const {
    const int code = run_.row > 0 ? run_.rows[static_cast<size_t>(run_.row - 1)].transition : 0;
    return preview_ ? effectcodes::PreviewTransition(code) : code;
}

bool SceneTransitions::Prepare() {
    EffectUnit& effects = run_.effects;
    const int code = Incoming();
    if (!IsNoTransition(code)) {
        if (!effects.SelectTransition(code) || !effects.ArmTransition(code, true))
            return false;
    } else if (!effects.ArmTransition(code, false)) {
        return false;
    }
    effects.SetEffect(run_.CurrentRow().effect);
    return true;
}

void SceneTransitions::RunIn(int64_t deadlineUs) {
    const CommandScheduler& scheduler = run_.scheduler;
    run_.effects.RunTransition(Incoming(), EffectUnit::Side::In, [&scheduler, deadlineUs] {
        return deadlineUs == 0 || scheduler.NowUs() < deadlineUs;
    });
    const int own = run_.CurrentRow().transition;
    if (effectcodes::NeedsFollowingScene(own))
        run_.effects.SelectTransition(own);
}

void SceneTransitions::RunOut(const std::function<bool()>& betweenPolls) {
    run_.effects.RunTransition(run_.CurrentRow().transition, EffectUnit::Side::Out, betweenPolls);
}

void SceneTransitions::RunLateOut(int64_t recorderStandsUs) {
    CommandScheduler& scheduler = run_.scheduler;
    if (scheduler.Known() && lateOutRunUs_ >= 0)
        scheduler.WaitUntilUs(recorderStandsUs - lateOutRunUs_);
    const int64_t start = scheduler.NowUs();
    if (Active())
        RunOut({});
    lateOutRunUs_ = scheduler.NowUs() - start;
}

double SceneTransitions::EarlyOutLeadFrames() const {
    // The run is planned to end as the recorder stands; until one has been timed, its length
    // is guessed from the time one exchange takes. Its commands must still reach the player
    // before the pause's moment.
    const CommandScheduler& scheduler = run_.scheduler;
    const int fps = run_.decks.FramesPerSecond();
    const int64_t exchangeUs = scheduler.ExchangeUs();
    const int64_t runUs = earlyOutRunUs_ >= 0 ? earlyOutRunUs_ : kOutRunExchangesGuess * exchangeUs;
    const double beforePause =
        run_.options.outCorrection + scheduler.FramesOf(kOutRunStartExchanges * exchangeUs, fps);
    return std::max(scheduler.FramesOf(static_cast<double>(runUs), fps), beforePause);
}

void SceneTransitions::Reset() {
    EffectUnit& effects = run_.effects;
    effects.ArmTransition(0, false);
    effects.ArmTransition(effectcodes::kNoTransition, false);
    effects.SetEffect(effectcodes::kNoEffect);
    effects.SelectTransition(effectcodes::kNoTransition);
}
