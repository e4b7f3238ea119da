#include "engine/QuickCue.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/DeckCue.h"
#include "engine/EngineLog.h"
#include "engine/EngineRun.h"
#include "link/Clock.h"
#include "link/TarnCommands.h"
#include "link/TarnVtr.h"

namespace {

// Beyond the recorder's start, the approach leaves the player this many frames to play at
// normal speed: enough for its counter's phase to be learned and the incoming transition to be
// prepared before the record command is due.
constexpr int kLeadMarginFrames = 8;
// A wind costs this much more than its distance at wind speed: the reels' spin-up, the slowing
// down to search speed and one more mode change. Until a wind has been measured it is taken to
// be twice as fast as a search.
constexpr double kWindCostSeconds = 2.0;
constexpr double kUnmeasuredWindSpeedup = 2.0;
// A wind hands over to the search this far ahead of the approach, in seconds at its speed: the
// tape slows down to search speed within it, and the search's speed is measured again before
// the play command.
constexpr double kWindHandOverSeconds = 1.0;
// A mode change's measured time includes up to this many exchanges beyond the deck's own
// latency: the command's line time, and the settled status heard up to an exchange late.
constexpr double kChangeMeasureExchanges = 2;

bool IsWind(int mode) {
    return mode == ModeFastForward || mode == ModeRewind;
}

bool IsForward(int mode) {
    return mode == ModeFastForward || mode == ModeForwardSearch;
}

}  // namespace

int QuickCue::ShortestLeadFrames() const {
    return run_.options.inCorrection + kLeadMarginFrames;
}

int QuickCue::ApproachFrames() const {
    const int fps = run_.decks.FramesPerSecond();
    const double start = PlayStartSeconds() * fps;
    return std::max(run_.options.inCorrection + fps,
                    ShortestLeadFrames() + static_cast<int>(std::ceil(start)));
}

bool QuickCue::Cue(int32_t target) {
    EngineDecks& decks = run_.decks;
    decks.ReadStatus();
    const bool travelling = earlyTarget_ == target && decks.Mode() == earlyMode_;
    earlyTarget_.reset();
    if (travelling) {
        run_.step = EngineStep::Search;
        run_.NoteAnswer();
        return true;
    }
    wound_ = false;
    if (decks.Mode() != ModePlay) {
        if (!Play())
            return false;
        deckCue_.SettleAfterPlay();
        decks.ReadStatus();
    }
    if (PlaysOnInto(target, decks.Position())) {
        run_.step = EngineStep::PlayToScene;
    } else {
        if (!Travel(target))
            return false;
        run_.step = EngineStep::Search;
    }
    run_.NoteAnswer();  // the cue's own commands were answered
    return true;
}

bool QuickCue::TravelBefore(int32_t target, int64_t standsUs) {
    EngineDecks& decks = run_.decks;
    if (earlyTarget_ || shortestChangeUs_ < 0 || decks.Mode() != ModePlay)
        return true;
    const CommandScheduler& scheduler = run_.scheduler;
    const int64_t movesUs =
        scheduler.NowUs() + shortestChangeUs_ - scheduler.ExchangesUs(kChangeMeasureExchanges);
    if (movesUs < standsUs || PlaysOnInto(target, decks.Position()))
        return true;
    qCInfo(lcEngine) << "quick cue: travel to" << target << "starts"
                     << (standsUs - scheduler.NowUs()) / 1000 << "ms before the recorder stands";
    wound_ = false;
    if (!Travel(target))
        return false;
    earlyTarget_ = target;
    earlyMode_ = decks.Mode();
    return true;
}

bool QuickCue::PlaysOnInto(int32_t target, int32_t position) const {
    const int32_t ahead = target - position;
    return ahead >= ShortestLeadFrames() && ahead <= ApproachFrames() + ShortestForwardSearch();
}

double QuickCue::ShortestForwardSearch() const {
    // Until a search has been measured: a search shorter than the approach saves less than its
    // two mode changes cost.
    if (searchFps_ <= 0)
        return ApproachFrames();
    // The tape plays on while the search command settles, and runs on at search speed while
    // the play command settles: a shorter search would end past its goal.
    return run_.decks.FramesPerSecond() * ChangeSeconds() + searchFps_ * PlayStartSeconds();
}

bool QuickCue::Travel(int32_t target) {
    const int32_t goal = target - ApproachFrames();
    const int32_t position = run_.decks.Position();
    const bool forward = position < goal;
    const double distance = std::abs(goal - position);
    if (searchFps_ > 0 && WindPays(distance)) {
        wound_ = true;
        return ChangeMode(forward ? ModeFastForward : ModeRewind);
    }
    return ChangeMode(forward ? ModeForwardSearch : ModeReverseSearch);
}

bool QuickCue::Search(int32_t target) {
    EngineDecks& decks = run_.decks;
    if (decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    const StatusSample sample = run_.vtr.LastSample();
    if (sample.hasCounter && !sample.busy)
        speed_.Observe(sample.counter, sample.heardUs);
    const int mode = decks.Mode();
    const bool forward = IsForward(mode);
    const int32_t goal = target - ApproachFrames();
    const int32_t ahead = forward ? goal - decks.Position() : decks.Position() - goal;
    const std::optional<double> measured = speed_.FramesPerSecond();
    if (!measured)
        return ahead > 0 || Play();  // a goal passed before the speed is known: play at once
    const double speed = std::fabs(*measured);
    if (!IsWind(mode))
        return SearchLeg(ahead, sample.heardUs, forward, speed, speed_.Steady());
    windFps_ = std::max(windFps_, speed);
    if (ahead > speed * kWindHandOverSeconds)
        return true;
    return ChangeMode(forward ? ModeForwardSearch : ModeReverseSearch);
}

bool QuickCue::SearchLeg(int32_t ahead, int64_t seenUs, bool forward, double speed, bool steady) {
    // The fastest a search has gone steadily is its speed; a tape still speeding up, or slowing
    // down from a wind, tells nothing of it.
    if (!wound_ && steady)
        searchFps_ = std::max(searchFps_, speed);
    // A tape still speeding up, or slowing down from a wind, is taken at the search's own speed
    // where that errs towards playing early forward and late backwards.
    const double planned =
        searchFps_ > 0 ? (forward ? std::max(speed, searchFps_) : std::min(speed, searchFps_))
                       : speed;
    if (planned < 1)
        return true;  // the tape is turning round
    // The play command is written when the tape, at that speed, has the overshoot left to go;
    // a moment before the next step check is waited for here.
    const double toGo = ahead - planned * PlayStartSeconds();
    const int64_t playUs = seenUs + static_cast<int64_t>(toGo / planned * 1e6);
    CommandScheduler& scheduler = run_.scheduler;
    if (playUs <= scheduler.NowUs() + scheduler.ExchangesUs(CommandScheduler::kHoldExchanges)) {
        qCInfo(lcEngine) << "quick cue: play" << ahead << "frames before the approach at" << speed
                         << "frames/s (search" << searchFps_ << "wind" << windFps_ << ") start"
                         << PlayStartSeconds() << "s";
        scheduler.WaitUntilUs(playUs);
        return Play();
    }
    // Whether a wind pays is judged once the search has reached its speed.
    if (steady && !wound_ && WindPays(ahead)) {
        wound_ = true;
        return ChangeMode(forward ? ModeFastForward : ModeRewind);
    }
    return true;
}

double QuickCue::ChangeSeconds() const {
    return changeUs_ >= 0 ? changeUs_ / 1e6 : PlayStartSeconds();
}

double QuickCue::PlayStartSeconds() const {
    return playStartUs_ >= 0
               ? playStartUs_ / 1e6
               : static_cast<double>(run_.options.playerPauseLead) / run_.decks.FramesPerSecond();
}

bool QuickCue::WindPays(double frames) const {
    const double wind = windFps_ > 0 ? windFps_ : kUnmeasuredWindSpeedup * searchFps_;
    if (searchFps_ <= 0 || wind <= searchFps_)
        return false;
    return frames / searchFps_ - frames / wind > kWindCostSeconds;
}

bool QuickCue::TooClose(int32_t target) const {
    return run_.decks.Position() > target - ShortestLeadFrames();
}

bool QuickCue::ChangeMode(int mode) {
    const int64_t sent = run_.clock.NowUs();
    if (const DeckReply r = run_.decks.SetModeAndWait(mode); !r)
        return run_.Failed(r, run_.AddressedDeck());
    changeUs_ = SettledAfterUs(sent);
    if (shortestChangeUs_ < 0 || changeUs_ < shortestChangeUs_)
        shortestChangeUs_ = changeUs_;
    speed_.Reset();
    run_.decks.ReadStatus();
    return true;
}

int64_t QuickCue::SettledAfterUs(int64_t sentUs) const {
    // From writing the command until the deck no longer settles, the command's own line time
    // included; the last status question, half an exchange on average, lies beyond it.
    return std::max<int64_t>(0, run_.clock.NowUs() - sentUs - run_.scheduler.ExchangeUs() / 2);
}

bool QuickCue::Play() {
    const int64_t sent = run_.clock.NowUs();
    if (const DeckReply r = run_.decks.SetModeAndWait(ModePlay); !r)
        return run_.Failed(r, run_.AddressedDeck());
    playStartUs_ = SettledAfterUs(sent);
    speed_.Reset();
    // Asked at once: its answer holds the speed at which transitions may run.
    run_.decks.ReadStatus();
    run_.step = EngineStep::PlayToScene;
    return true;
}
