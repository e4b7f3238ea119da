// Where a running operation stands, and what one step check leads to.
#pragma once

// The values are the step numbers of the engine's step table.
enum class EngineStep : int {
    Cue = 0,                   // cue not yet issued
    Search = 1,                // searching towards the target
    PlayToScene = 2,           // playing towards the first event of the scene
    AwaitInPoint = 3,          // transition prepared; waiting for the in point
    InPointPassed = 4,         // recorder released; waiting to run the in transition
    AwaitOutPoint = 5,         // waiting for the out point
    OutTransitionStarted = 6,  // out transition started (passes straight on)
    OutPointPassed = 7,        // recorder paused; the player runs on
    PausedAtTarget = 8,        // player paused at the target
    NextScene = 9,             // looking for the next scene
};

// Keep waiting, or end the operation: failed, stopped by the user, or done.
enum class StepOutcome { Wait, Fail, Stop, Done };

// For steps whose failure ends the operation.
constexpr StepOutcome Checked(bool ok) {
    return ok ? StepOutcome::Wait : StepOutcome::Fail;
}
