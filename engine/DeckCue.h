// The steps that bring the addressed deck to a position: the cue (play, let a deck that has
// just started settle, search towards the target), the search that ends short of the target,
// and the pause on the target. Goto, Preroll, Review, every scene of Preview and Auto Rec, Edit
// and the recorder's placement all start this way.
#pragma once

#include <cstdint>

struct EngineRun;

class DeckCue {
public:
    // A reverse search ends this far before the target, leaving the rest to normal play.
    static constexpr int kReverseSearchLeadFrames = 150;

    explicit DeckCue(EngineRun& run) : run_(run) {}

    // Step 0 to 1: plays the deck when it does not play yet and sends it searching.
    bool Cue(int32_t target);
    // Step 1 to 2: plays once the search has come within the search distance of the target
    // (forward) or within reverseLeadFrames before it (reverse).
    bool Search(int32_t target, int32_t reverseLeadFrames);
    // Step 2 to 8: pauses so that the deck stands on the target.
    bool PauseAt(int32_t target);
    // Lets a deck that has just started playing settle before it takes a search command.
    void SettleAfterPlay();

private:
    EngineRun& run_;
};
