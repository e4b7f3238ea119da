#include "engine/DeckCue.h"

#include <algorithm>

#include "engine/EngineRun.h"
#include "link/Clock.h"
#include "link/TarnLink.h"
#include "link/TarnVtr.h"

namespace {

// A deck that has just started playing needs this long before it takes a search command.
constexpr int kSettleAfterPlayMs = 2000;
// Jobs from other threads wait at most this long while the engine lets a deck settle.
constexpr int kSettleSliceMs = 20;
// A deck told to pause stands on the frame its tape is on: it is aimed at the target's middle.
constexpr double kStandPhase = 0.5;

}  // namespace

bool DeckCue::Cue(int32_t target) {
    EngineDecks& decks = run_.decks;
    decks.ReadStatus();
    if (decks.Mode() != ModePlay) {
        if (const DeckReply r = decks.SetModeAndWait(ModePlay); !r)
            return run_.Failed(r, run_.AddressedDeck());
        SettleAfterPlay();
    }
    decks.ReadStatus();
    const int search = decks.Position() <= target - run_.options.searchDistance ? ModeForwardSearch
                                                                                : ModeReverseSearch;
    if (const DeckReply r = decks.SetModeAndWait(search); !r)
        return run_.Failed(r, run_.AddressedDeck());
    decks.ReadStatus();
    run_.step = EngineStep::Search;
    run_.NoteAnswer();  // the cue's own commands were answered
    return true;
}

bool DeckCue::Search(int32_t target, int32_t reverseLeadFrames) {
    EngineDecks& decks = run_.decks;
    if (decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    const int mode = decks.Mode();
    const int32_t position = decks.Position();
    const int32_t limit = mode == ModeForwardSearch ? target - run_.options.searchDistance
                                                    : target - reverseLeadFrames;
    if ((mode == ModeReverseSearch && position < limit) ||
        (mode == ModeForwardSearch && position > limit)) {
        if (const DeckReply r = decks.SetModeAndWait(ModePlay); !r)
            return run_.Failed(r, run_.AddressedDeck());
        run_.step = EngineStep::PlayToScene;
    }
    decks.ReadStatus();
    return true;
}

bool DeckCue::PauseAt(int32_t target) {
    EngineDecks& decks = run_.decks;
    if (decks.Stopped())
        return run_.Fail(StopCause::TapeEnd, run_.AddressedDeck());
    if (run_.scheduler.MomentHasCome(target + kStandPhase, run_.PauseLeadFrames(),
                                     CommandScheduler::kHoldExchanges, decks.Position())) {
        if (const DeckReply r = decks.SetModeAndWait(ModePause); !r)
            return run_.Failed(r, run_.AddressedDeck());
        decks.ReadStatus();
        run_.step = EngineStep::PausedAtTarget;
    }
    return true;
}

void DeckCue::SettleAfterPlay() {
    const int64_t end = run_.clock.NowMs() + kSettleAfterPlayMs;
    for (;;) {
        if (run_.link.OnLinkThread())
            run_.link.ServePending();
        const int64_t left = end - run_.clock.NowMs();
        if (left <= 0) {
            // Silence is counted from here: Review cues before its first tick, so a poll that
            // goes unanswered just after its cue must not see the settle as silence.
            run_.NoteAnswer();
            return;
        }
        run_.clock.Sleep(static_cast<int>(std::min<int64_t>(left, kSettleSliceMs)));
    }
}
