// Resume Auto Rec: places the recorder on the frame where an interrupted run's last complete
// scene ends, in rec-pause, before the run goes on as any Auto Rec does. That frame may lie
// anywhere on the tape, its first frames included: recordings usually begin at the start of a
// tape, where there is no room to search back and play up to a frame.
#pragma once

#include <cstdint>

#include "engine/DeckCue.h"
#include "engine/EngineStep.h"

struct EngineRun;

class RecorderPlacement {
public:
    explicit RecorderPlacement(EngineRun& run) : run_(run), cue_(run) {}

    // Host thread: the recorder, addressed from now on, is stopped (a recorder left recording by
    // a killed run stops here) and aimed at frame.
    void Begin(int32_t frame);
    // Step 0: close to its frame the recorder steps there; well before it, it plays up to it;
    // further away, or after it, it is cued as any deck is, by search.
    bool Cue();
    // Every other step; Done once the recorder stands in rec-pause on its frame, the player
    // addressed again.
    StepOutcome Step();

private:
    bool PlayUpOrStep(int32_t ahead);
    bool GoOnFromTapeStart();
    StepOutcome Finish();
    // How far before its frame the recorder must stand to play up to it and pause there.
    int32_t PlayUpFrames() const;

    EngineRun& run_;
    DeckCue cue_;
    bool stoppedOnce_ = false;  // the recorder has stopped, at the tape's start
};
