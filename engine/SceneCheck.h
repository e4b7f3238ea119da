// What the recorder really took in of one scene of an Auto Rec: its counter where the scene
// began and where the recorder stood after the scene's pause, against the scene's duration.
// The engine keeps one per recorded scene, in the order of the run (Auto Rec's verification
// report, and a resumed run's starting point).
#pragma once

#include <cstdint>
#include <optional>

struct SceneCheck {
    int row = 0;                 // the scene's row in the list
    int32_t expectedFrames = 0;  // the scene's duration
    // The recorder's counter at the seam before the scene and where it stood after the scene's
    // pause; unknown where it could not be read (edit terminal alone, no answer, no counter).
    std::optional<int32_t> startPosition;
    std::optional<int32_t> endPosition;
    bool resumed = false;  // the first scene of a resumed run: it began at the resume point
    int scene = 0;         // its number among the list's scenes that record, from 1, in any run

    // Both ends known: the scene's length on tape can be measured.
    bool Readable() const { return startPosition && endPosition; }
    // Only when Readable().
    int32_t RecordedFrames() const { return *endPosition - *startPosition; }
    // Frames recorded beyond the scene's duration (negative: fewer); only when Readable().
    int32_t Difference() const { return RecordedFrames() - expectedFrames; }
};
