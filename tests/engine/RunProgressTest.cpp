// Where a run stands and the real time its rest should take, on a virtual clock: the time left
// follows the run's own pace once a whole scene of it is on tape, and a resumed run counts its
// pace from where it resumed.
#include <gtest/gtest.h>

#include "engine/RunProgress.h"

namespace {

Scene Row(int32_t duration, bool tapeChange = false) {
    Scene row;
    row.durationFrames = duration;
    row.tapeChange = tapeChange;
    return row;
}

struct Moment {
    int row;
    int32_t recorded;
    int64_t nowMs;
    RunProgress expected;
};

TEST(RunProgress, TimeLeftFollowsThePaceOfTheRunOnceAWholeSceneIsOnTape) {
    // A tape row, scenes of 300 and 100 frames, a tape change, a scene of 600 frames.
    const std::vector<Scene> rows = {Row(0, true), Row(300), Row(100), Row(0, true), Row(600)};
    const std::vector<Moment> run = {
        // The first cue: nothing on tape, no pace.
        {1, 0, 0, {1, 3, 0, 1000, -1}},
        {1, 150, 20000, {1, 3, 15, 850, -1}},
        // The first scene whole after 30 s: 30 s per 300 frames, 700 frames to go.
        {1, 300, 30000, {1, 3, 30, 700, 70000}},
        // Cueing the second scene: the pace falls while nothing is recorded.
        {2, 0, 36000, {2, 3, 30, 700, 84000}},
        {2, 100, 40000, {2, 3, 40, 600, 60000}},
        // The tape change row counts as the scene before it, finished.
        {3, 0, 50000, {2, 3, 40, 600, 75000}},
        {4, 600, 140000, {3, 3, 100, 0, 0}},
    };
    RunProgressPlan plan(rows);
    for (const Moment& m : run) {
        SCOPED_TRACE(m.nowMs);
        EXPECT_EQ(plan.At(m.row, m.recorded, m.nowMs), m.expected);
    }

    // Resumed in the second scene: what the first run put on tape is not this run's pace.
    RunProgressPlan resumed(rows);
    EXPECT_EQ(resumed.At(2, 40, 1000), (RunProgress{2, 3, 34, 660, -1}));
    EXPECT_EQ(resumed.At(2, 100, 5000), (RunProgress{2, 3, 40, 600, 40000}));
    EXPECT_EQ(resumed.SceneNumber(3), 2);
}

TEST(RunProgress, RealTimeReadsAsMinutesAndSecondsRoundedUp) {
    const std::vector<std::pair<int64_t, const char*>> times = {
        {0, "0:00"}, {1, "0:01"}, {59999, "1:00"}, {245000, "4:05"}, {3729000, "1:02:09"}};
    for (const auto& [ms, text] : times)
        EXPECT_EQ(RealTimeText(ms), QString::fromLatin1(text)) << ms;
}

}  // namespace
