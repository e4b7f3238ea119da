// One kind of the engine's operations, as AutoEngine drives it: started on the host's thread,
// advanced one step check after every accepted poll on the link thread, and left when it ends.
#pragma once

#include "engine/AutoKind.h"
#include "engine/EngineStep.h"
#include "engine/StopReason.h"

class Operation {
public:
    virtual ~Operation() = default;

    // Host thread, before the first tick: false when the operation cannot begin (it then ends
    // at once with the run's failure).
    virtual bool Start() = 0;
    // Every tick, before its step: what the host is told of where the operation stands.
    virtual void Report() {}
    // Step 0: the cue.
    virtual bool Cue() = 0;
    // Every other step.
    virtual StepOutcome Step() = 0;
    // The step a stop or failure names, as the user knows it.
    virtual StopStep StopStepAt(EngineStep step) const;
    // What a failure in this step means (a recorder being placed cannot reach its frame).
    virtual StopReason Explain(StopReason reason) const { return reason; }
    // The end, before the effect device is reset: what must happen first (a recording recorder
    // pauses) and what the run leaves behind.
    virtual void Conclude(AutoResult, const StopReason&) {}
    // The end, after it: where the decks are left.
    virtual void Leave() {}
};
