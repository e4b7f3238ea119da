// The shuttle keys' speed ladder: reverse search, reverse play, slow reverse, pause, slow
// forward, play, forward search. One press moves the deck one rung towards reverse or forward.
#pragma once

#include <vector>

// The modes to send for one shuttle step, in order; when the deck refuses the first mode of
// `modes`, `fallback` is sent instead (some decks cannot play in reverse).
struct ShuttleStep {
    std::vector<int> modes;
    std::vector<int> fallback;

    bool IsEmpty() const { return modes.empty(); }
};

// The step from the deck's current mode; empty at either end of the ladder and off it.
ShuttleStep ShuttleStepFrom(int mode, bool towardsForward);
