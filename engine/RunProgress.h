// Where an Auto Rec stands over the whole list: which scene of how many is being recorded, how
// much of the list's total duration is on tape, how much tape the rest of the list takes, and
// the real time that rest should take at the run's pace so far. A list of an hour or more
// records for that long; this is what the progress window and the terminal show of it.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "edit/Scene.h"

struct RunProgress {
    int scene = 0;           // 1-based among the rows that record (scene rows with a duration)
    int scenes = 0;          // how many rows record
    int percent = 0;         // of the list's total duration, 0..100
    int32_t framesLeft = 0;  // tape the rest of the list still takes, this scene's rest included
    int64_t msLeft = -1;     // real time the rest should take; -1 while the pace is unknown
    int retake = 0;          // which retake of the scene runs; 0 for its first take

    bool operator==(const RunProgress&) const = default;
};

class RunProgressPlan {
public:
    RunProgressPlan() = default;
    RunProgressPlan(const std::vector<Scene>& rows, int framesPerSecond);

    // At `row` with `recorded` frames of its scene on tape (clamped to its duration), in its
    // take `retake`. A row that does not record counts as the scene before it, finished. The
    // first call of a run starts its clock at `nowMs` (a resumed run counts from where it
    // resumed).
    RunProgress At(int row, int32_t recorded, int retake, int64_t nowMs);
    // The 1-based number of the scene `row` records (0 for none before it).
    int SceneNumber(int row) const;

private:
    int64_t FramesDone(int row, int32_t recorded) const;
    // How many scenes are whole on tape.
    int ScenesFinished(int row, int32_t recorded) const;
    // A scene became whole or a retake began since the last call: the time left is estimated
    // anew. A retake adds the take it replaces to the frames recorded.
    bool PassMilestone(int row, int32_t recorded, int retake);
    // The pace is the real time per frame recorded since the run began (the takes retakes
    // replaced included), known once a whole scene or take of this run is on tape: before that,
    // the first cue alone would set it.
    std::optional<int64_t> EstimateMs(int row, int32_t recorded, int64_t framesLeft,
                                      int64_t nowMs) const;

    std::vector<int> sceneNumber_;       // per row: 1-based number of its scene, 0 for none
    std::vector<int64_t> framesBefore_;  // per row: duration of the scenes before it
    std::vector<int32_t> duration_;      // per row: its duration when it records, else 0
    int64_t totalFrames_ = 0;
    int scenes_ = 0;
    int framesPerSecond_ = 30;
    // Where the run's clock started: the time, the frames already done, and the first scene the
    // run itself puts whole on tape.
    int64_t startMs_ = -1;
    int64_t doneAtStart_ = 0;
    int firstScene_ = 0;
    int64_t replacedFrames_ = 0;  // of takes that retakes recorded over
    // The retake running and how many scenes were whole at the last call.
    int retake_ = 0;
    int scenesWhole_ = -1;
    // The time left as estimated at the last milestone, and when; between milestones it counts
    // down in real time, as the run goes on whether or not frames are being recorded.
    std::optional<int64_t> estimateMs_;
    int64_t estimatedAtMs_ = 0;
};

// A real time as the user reads it, rounded up to whole seconds: "4:05", or "1:02:09" from an
// hour on.
QString RealTimeText(int64_t ms);
