// Edit: the recorder waits in rec-pause while the player is cued back to where Edit was pressed
// and plays; the recorder is released into record as the player comes back to that position.
// Both decks are left running; an Edit that ends otherwise leaves the recorder paused.
#pragma once

#include "engine/DeckCue.h"
#include "engine/EditPoints.h"
#include "engine/Operation.h"

struct EngineRun;

class EditOperation final : public Operation {
public:
    EditOperation(EngineRun& run, EditPoints& editPoints)
        : run_(run), cue_(run), editPoints_(editPoints) {}

    bool Start() override;
    bool Cue() override;
    StepOutcome Step() override;
    StopStep StopStepAt(EngineStep step) const override;
    void Conclude(AutoResult result, const StopReason& reason) override;

private:
    EngineRun& run_;
    DeckCue cue_;
    EditPoints& editPoints_;
};
