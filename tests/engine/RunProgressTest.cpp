// Where a run stands and the real time its rest should take, on a virtual clock: the time left
// follows the run's own pace once a whole scene of it is on tape, counts down in real time between
// the moments it is estimated, through a retake too, and a resumed run counts its pace from where
// it resumed.
#include <gtest/gtest.h>

#include "engine/RunProgress.h"

namespace {

Scene Row(int32_t duration, bool tapeChange = false) {
    Scene row;
    row.durationFrames = duration;
    row.tapeChange = tapeChange;
    return row;
}

constexpr int kFps = 30;

struct Moment {
    int row;
    int32_t recorded;
    int retake;
    int64_t nowMs;
    RunProgress expected;
};

void Follow(RunProgressPlan& plan, const std::vector<Moment>& run) {
    for (const Moment& m : run) {
        SCOPED_TRACE(m.nowMs);
        EXPECT_EQ(plan.At(m.row, m.recorded, m.retake, m.nowMs), m.expected);
    }
}

TEST(RunProgress, TimeLeftFollowsThePaceOfTheRunOnceAWholeSceneIsOnTape) {
    // A tape row, scenes of 300 and 100 frames, a tape change, a scene of 600 frames.
    const std::vector<Scene> rows = {Row(0, true), Row(300), Row(100), Row(0, true), Row(600)};
    RunProgressPlan plan(rows, kFps);
    Follow(plan, {
                     // The first cue: nothing on tape, no pace.
                     {1, 0, 0, 0, {1, 3, 0, 1000, -1}},
                     {1, 150, 0, 20000, {1, 3, 15, 850, -1}},
                     // The first scene whole after 30 s: 30 s per 300 frames, 700 frames to go.
                     {1, 300, 0, 30000, {1, 3, 30, 700, 70000}},
                     // The second scene's cue counts that estimate down.
                     {2, 0, 0, 36000, {2, 3, 30, 700, 64000}},
                     {2, 100, 0, 40000, {2, 3, 40, 600, 60000}},
                     // The tape change row counts as the scene before it, finished; the user's
                     // wait counts down the time left as any other.
                     {3, 0, 0, 50000, {2, 3, 40, 600, 50000}},
                     {4, 600, 0, 140000, {3, 3, 100, 0, 0}},
                 });

    // Resumed in the second scene: what the first run put on tape is not this run's pace.
    RunProgressPlan resumed(rows, kFps);
    EXPECT_EQ(resumed.At(2, 40, 0, 1000), (RunProgress{2, 3, 34, 660, -1}));
    EXPECT_EQ(resumed.At(2, 100, 0, 5000), (RunProgress{2, 3, 40, 600, 40000}));
    EXPECT_EQ(resumed.SceneNumber(3), 2);
}

// The last scene recorded again: its frames are to record once more, at the pace of every take
// so far (the replaced one included), and the time left counts down while the recorder goes back
// and the player cues, never below what the frames left take to play.
TEST(RunProgress, TimeLeftCountsDownThroughARetakeOfTheLastScene) {
    RunProgressPlan plan({Row(0, true), Row(300), Row(100)}, kFps);
    Follow(plan, {
                     {1, 0, 0, 0, {1, 2, 0, 400, -1}},
                     {1, 300, 0, 30000, {1, 2, 75, 100, 10000}},
                     {2, 100, 0, 40000, {2, 2, 100, 0, 0}},
                     // 400 frames recorded in 41 s, 100 to record again.
                     {2, 0, 1, 41000, {2, 2, 75, 100, 10250, 1}},
                     {2, 0, 1, 45000, {2, 2, 75, 100, 6250, 1}},
                     {2, 50, 1, 50000, {2, 2, 87, 50, 1666, 1}},
                     {2, 100, 1, 51700, {2, 2, 100, 0, 0, 1}},
                 });
}

TEST(RunProgress, RealTimeReadsAsMinutesAndSecondsRoundedUp) {
    const std::vector<std::pair<int64_t, const char*>> times = {
        {0, "0:00"}, {1, "0:01"}, {59999, "1:00"}, {245000, "4:05"}, {3729000, "1:02:09"}};
    for (const auto& [ms, text] : times)
        EXPECT_EQ(RealTimeText(ms), QString::fromLatin1(text)) << ms;
}

}  // namespace
