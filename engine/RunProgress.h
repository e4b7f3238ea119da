// Where an Auto Rec stands over the whole list: which scene of how many is being recorded, how
// much of the list's total duration is on tape, and how much tape the rest of the list takes.
// A list of an hour or more records for that long; this is what the progress window and the
// terminal show of it.
#pragma once

#include <cstdint>
#include <vector>

#include "edit/Scene.h"

struct RunProgress {
    int scene = 0;           // 1-based among the rows that record (scene rows with a duration)
    int scenes = 0;          // how many rows record
    int percent = 0;         // of the list's total duration, 0..100
    int32_t framesLeft = 0;  // tape the rest of the list still takes, this scene's rest included

    bool operator==(const RunProgress&) const = default;
};

class RunProgressPlan {
public:
    RunProgressPlan() = default;
    explicit RunProgressPlan(const std::vector<Scene>& rows);

    // At `row` with `recorded` frames of its scene on tape (clamped to its duration). A row that
    // does not record counts as the scene before it, finished.
    RunProgress At(int row, int32_t recorded) const;

private:
    std::vector<int> sceneNumber_;       // per row: 1-based number of its scene, 0 for none
    std::vector<int64_t> framesBefore_;  // per row: duration of the scenes before it
    std::vector<int32_t> duration_;      // per row: its duration when it records, else 0
    int64_t totalFrames_ = 0;
    int scenes_ = 0;
};
