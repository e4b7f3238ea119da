// The operations that cue one deck and pause it on a target: Goto (the player on the current
// scene's in point), Preroll (the player back by the pre-roll time) and Review (the recorder on
// the last Auto Rec's start, played to its end).
#pragma once

#include <cstdint>

#include "engine/DeckCue.h"
#include "engine/Operation.h"

struct EngineRun;

class CueAndPause : public Operation {
public:
    explicit CueAndPause(EngineRun& run) : run_(run), cue_(run) {}

    bool Cue() override;
    StepOutcome Step() override;
    StopStep StopStepAt(EngineStep step) const override;

protected:
    // Where the deck is paused: the target unless another is given.
    virtual int32_t PauseTarget() const;

    EngineRun& run_;
    DeckCue cue_;
};

class GotoOperation final : public CueAndPause {
public:
    using CueAndPause::CueAndPause;
    bool Start() override;
};

class PrerollOperation final : public CueAndPause {
public:
    using CueAndPause::CueAndPause;
    bool Start() override;
};

// Addresses the recorder for the whole operation and the deck addressed before it again at
// the end.
class ReviewOperation final : public CueAndPause {
public:
    using CueAndPause::CueAndPause;
    bool Start() override;
    void Leave() override;

private:
    int32_t PauseTarget() const override;

    int savedDevice_ = 0;
};
