// The quick way to a scene's in point, when the options ask for it: the player plays only an
// approach before the in point, as long as the recorder's start, the player's own start and a
// few frames need (never less than the in-point correction and a second); a player that already
// plays a little before the next in point plays on into it; a far target is wound to, then
// searched, then played. The mode changes are timed by what the run measures of the decks: the
// player's start from how long its play commands take to settle, the tape's speed from its
// counter. A recorder that can be read must have been read standing before the player leaves the
// scene; one reached only through the player's edit terminal is known by its measured stop
// time, and the player may already start towards the next scene when its mode change surely
// reaches its tape only after that. What reaches the recorder's tape is the same as the usual
// cue's.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/TapeSpeed.h"

class DeckCue;
struct EngineRun;

class QuickCue {
public:
    QuickCue(EngineRun& run, DeckCue& deckCue) : run_(run), deckCue_(deckCue) {}

    // Step 0 to 1, or straight to 2 when the player plays on into the scene.
    bool Cue(int32_t target);
    // While a recorder that cannot be read stops: starts the travel to target once a mode change
    // written now surely moves the player's tape no sooner than standsUs. The next Cue to target
    // goes on with it.
    bool TravelBefore(int32_t target, int64_t standsUs);
    // A travel started by TravelBefore goes on: the player has left its run-on.
    bool Travelling() const { return earlyTarget_.has_value(); }
    // Step 1 to 2: winds and searches on, and plays once the tape will stand at normal play
    // on the approach.
    bool Search(int32_t target);
    // The player plays too close to target for the recorder to meet it: it is cued again.
    bool TooClose(int32_t target) const;

    // Frames of normal play before an in point.
    int ApproachFrames() const;
    // The least of them: the recorder's start and the margin.
    int ShortestLeadFrames() const;

private:
    bool PlaysOnInto(int32_t target, int32_t position) const;
    // Frames a forward search must cover to end at its goal rather than past it.
    double ShortestForwardSearch() const;
    // Sends the tape towards the approach, winding when that is quicker than searching.
    bool Travel(int32_t target);
    // ahead: frames to the approach as the tape was seen at seenUs, moving at speed.
    // steady: the tape has reached the search's speed.
    bool SearchLeg(int32_t ahead, int64_t seenUs, bool forward, double speed, bool steady);
    bool ChangeMode(int mode);
    bool Play();
    // From writing a play command until the player plays: measured, or until then taken to be as
    // long as its pause.
    double PlayStartSeconds() const;
    // How long the player's other mode changes take to settle: measured, else as its start.
    double ChangeSeconds() const;
    // The time a mode change written at sentUs took to settle, until now.
    int64_t SettledAfterUs(int64_t sentUs) const;
    // Winding this far is quicker than searching it.
    bool WindPays(double frames) const;

    EngineRun& run_;
    DeckCue& deckCue_;
    TapeSpeed speed_;
    // Measured as the run goes: the fastest search and wind, in frames per second (0: not
    // yet), how long the player takes from a play command until it plays and from another mode
    // command until it settles (-1: not yet).
    double searchFps_ = 0;
    double windFps_ = 0;
    int64_t playStartUs_ = -1;
    int64_t changeUs_ = -1;
    int64_t shortestChangeUs_ = -1;  // the quickest mode change yet: the least a next one takes
    std::optional<int32_t> earlyTarget_;  // a travel started while the recorder stopped
    int earlyMode_ = 0;                   // and the mode it started
    bool wound_ = false;                  // this cue has wound once: its search leg ends the travel
};
