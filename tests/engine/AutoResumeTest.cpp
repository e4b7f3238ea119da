// An Auto Rec that ended early and its resume, in virtual time near the start of the recorder's
// tape, where recordings usually begin: the point kept where the last complete scene ends, the
// resumes refused with the tape untouched, and the rest of the list recorded from that frame on,
// every scene on its frames, with no gap or overlap and the scenes before left as they were; and
// the recorder placed on the point's frame whichever way it has to get there.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "VirtualEngine.h"
#include "engine/ResumePoint.h"

namespace {

// Slow decks, far from the options' defaults, whose player stands long after the recorder
// would: placing the recorder by the player's lead would leave it well short of its frame.
constexpr BenchLatencies kDecks{9, 40, 52, 17, 10, 0, 0};

class AutoResumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(e.Serve(LatencyBench(kDecks, Frames("00:01:00:00"), 0), Fps30, &error))
            << error;
        e.host->options = OptionsFor(kDecks);
        std::vector<Scene> rows;
        for (const auto& [in, out] : Scenes())
            rows.push_back(SceneRow(in, out));
        e.SetScenes(rows);
    }
    // Four scenes of three seconds, ten seconds apart on the player's tape.
    static std::vector<std::pair<int, int>> Scenes() {
        std::vector<std::pair<int, int>> scenes;
        for (int i = 0; i < 4; ++i)
            scenes.push_back({Frames("00:01:20:00") + i * 300, Frames("00:01:23:00") + i * 300});
        return scenes;
    }
    // Once the player has played `frames` past the in point of scene `scene` (1-based) with the
    // recorder in `recorderMode`, `interrupt` is called (on the engine's thread), and its answer
    // presses Stop.
    std::optional<AutoResult> RunUntil(int scene, int frames, int recorderMode,
                                       const std::function<bool()>& interrupt) {
        const int moment = Scenes()[static_cast<size_t>(scene - 1)].first + frames;
        bool done = false;
        e.host->stopWhen = [&, moment, recorderMode] {
            if (done || e.Deck(kRecorderId).mode != recorderMode ||
                e.Deck(kPlayerId).position <= moment)
                return false;
            done = true;
            return interrupt();
        };
        const std::optional<AutoResult> result = e.Run(AutoKind::AutoRec);
        e.host->stopWhen = {};
        // The recorder's pause takes effect a little after the run has ended.
        e.bench.clock->AdvanceUs(1'000'000);
        return result;
    }
    std::vector<RecordedScene> Recorded() const {
        return RecordedScenes(e.bench.sim->TapeSegments());
    }
    // After a resume from the end of scene `lastRow`: every scene on its frames in order, each
    // appended exactly where the one before ended, and the scenes complete before the stop
    // untouched.
    void ExpectResumedAfter(int lastRow, const std::vector<RecordedScene>& before) const {
        const std::string tape = e.bench.sim->ReportJson();
        const auto recorded = Recorded();
        ASSERT_EQ(recorded.size(), Scenes().size()) << tape;
        for (size_t i = 0; i < recorded.size(); ++i) {
            const bool last = i + 1 == recorded.size();
            EXPECT_EQ(recorded[i].srcFrom, Scenes()[i].first) << i << tape;
            EXPECT_EQ(recorded[i].srcTo, Scenes()[i].second + (last ? 1 : 0)) << i << tape;
            if (i > 0) {
                EXPECT_EQ(recorded[i].recFrom, recorded[i - 1].recTo) << i << tape;
            }
        }
        for (size_t i = 0; i < static_cast<size_t>(lastRow); ++i) {
            EXPECT_EQ(recorded[i].recFrom, before[i].recFrom) << i << tape;
            EXPECT_EQ(recorded[i].recTo, before[i].recTo) << i << tape;
        }
    }

    VirtualEngine e;
};

// With scene 1 on tape, a stop in scene 2 leaves a point 90 frames from the tape's start: too
// close to search back to and play up from.
TEST_F(AutoResumeTest, AStopInSceneTwoResumesFromSceneOnesEndWithNoGapOrOverlap) {
    ASSERT_EQ(RunUntil(2, 60, ModeRecord, [] { return true; }), AutoResult::Stopped) << e.Log();
    EXPECT_TRUE(e.host->Log().contains(
        "warning: Automatic editing has stopped.\nReason: stopped by the user."));
    EXPECT_EQ(e.Deck(kPlayerId).pendingMode, ModeStop);
    EXPECT_EQ(e.Deck(kRecorderId).pendingMode, ModeRecordPause);
    const auto before = Recorded();
    ASSERT_EQ(before.size(), 2u) << "scene 1 and the partial second\n" << e.bench.sim->ReportJson();
    ASSERT_EQ(before[0].recFrom, 0);
    const ResumePoint kept = e.host->keptResumePoints.back();
    EXPECT_EQ(kept, (ResumePoint{ListFingerprint(e.host->list), 1, before[1].recFrom, 0}));
    const std::string tape = e.bench.sim->ReportJson();

    // Refused: a list changed since, and a point before the start of the recorder's tape
    // (another tape than the run's).
    e.host->list.SetOutText(4, FramesToText(Scenes()[3].second + 1, Fps30));
    EXPECT_EQ(e.RunResume(kept), AutoResult::Failed);
    EXPECT_TRUE(e.host->Log().last().contains("has changed since")) << e.Log();
    e.host->list.SetOutText(4, FramesToText(Scenes()[3].second, Fps30));
    ResumePoint elsewhere = kept;
    elsewhere.recorderAt = -Frames("00:00:10:00");
    EXPECT_EQ(e.RunResume(elsewhere), AutoResult::Failed);
    EXPECT_TRUE(e.host->Log().contains(
        "warning: The recorder cannot reach the frame where the recording ended. Is the tape of "
        "that recording in the recorder?\nReason: recorder, placing the recorder: the recorder "
        "cannot be placed on the frame."));
    EXPECT_EQ(e.bench.sim->ReportJson(), tape) << "the tape is untouched";
    EXPECT_EQ(e.host->keptResumePoints.back(), elsewhere) << "the point stays for the right tape";
    EXPECT_EQ(e.Deck(kRecorderId).pendingMode, ModeRecordPause);
    e.host->progressShown.clear();

    EXPECT_EQ(e.RunResume(kept), AutoResult::Finished) << e.Log();

    ExpectResumedAfter(1, before);
    // The resumed run is told by the list's scene numbers, in the report as in the progress.
    std::vector<int> numbers;
    for (const SceneCheck& check : e.engine->SceneChecks())
        numbers.push_back(check.scene);
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(e.engine->SceneChecks().front().resumed);
    EXPECT_EQ(e.engine->SceneChecks().front().startPosition, kept.recorderAt);
    ASSERT_FALSE(e.host->progressShown.empty());
    EXPECT_EQ(e.host->progressShown.front().scene, 2);
    EXPECT_TRUE(e.host->Log().contains("information: Automatic editing has finished."));
    EXPECT_TRUE(e.host->keptResumePoints.back().IsEmpty());
    // Review plays the whole recording, from where the first run began.
    EXPECT_EQ(e.engine->RecordingStart(), 0);
    EXPECT_EQ(e.engine->RecordingEnd(), Recorded().back().recTo - 1);
}

// Scene 2 has been checked on the recorder, which stands paused after it, while the player runs
// on: a Stop now finds it complete in the report and in the point alike.
TEST_F(AutoResumeTest, AStopAfterASceneWasCheckedKeepsItCompleteInTheReportAndThePoint) {
    ASSERT_EQ(RunUntil(2, 90 + 60, ModeRecordPause, [] { return true; }), AutoResult::Stopped);

    const std::vector<SceneCheck> checks = e.engine->SceneChecks();
    ASSERT_EQ(checks.size(), 2u);
    const ResumePoint kept = e.host->keptResumePoints.back();
    EXPECT_EQ(kept.lastRow, checks.back().row);
    EXPECT_EQ(kept.recorderAt, checks.back().endPosition);
    // The recorder stands on the frame its pause caught part of, where the next scene begins.
    EXPECT_EQ(kept.recorderAt, Recorded().back().recTo - 1) << e.bench.sim->ReportJson();
}

TEST_F(AutoResumeTest, AResumeAfterThePlayerFellSilentAndCameBack) {
    const auto playerFallsSilent = [this] {
        tarnsim::FaultPlan plan;
        plan.AddVanish(kPlayerId, e.bench.clock->NowMicros());
        e.bench.sim->SetFaultPlan(plan);
        return false;
    };
    ASSERT_EQ(RunUntil(3, 30, ModeRecord, playerFallsSilent), AutoResult::Failed);
    e.bench.sim->SetFaultPlan(tarnsim::FaultPlan{});  // the player answers again
    const auto before = Recorded();
    ASSERT_GE(before.size(), 2u);
    const ResumePoint kept = e.host->keptResumePoints.back();
    ASSERT_EQ(kept.lastRow, 2);

    EXPECT_EQ(e.RunResume(kept), AutoResult::Finished) << e.Log();

    ExpectResumedAfter(2, before);
}

// The recorder is placed on the point's frame however it stands near the tape's start, counting
// in drop-frame, and the next scene starts there.
TEST(ResumePlacementTest, TheRecorderIsPlacedOnItsFrameNearTheTapeStart) {
    const auto at = [](int seconds) { return seconds * 30; };
    struct Case {
        const char* what;
        int recorderAt;
        int point;
    };
    const Case cases[] = {
        {"far after it: searched back, played up", at(60), at(3)},
        {"far after: the search back stops at the tape's start", at(60), 10},
        {"at the tape's start: played up", 0, at(3)},
        {"at the tape's start: stepped", 0, 20},
        {"just after: stepped back", 30, 20},
    };
    const int in = at(110), out = at(112) + 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualEngine e;
        std::string error;
        ASSERT_TRUE(
            e.Serve(LatencyBench(kDecks, at(100), c.recorderAt, Fps30Drop), Fps30Drop, &error))
            << error;
        e.host->options = OptionsFor(kDecks);
        e.SetScenes(
            {SceneRow(at(101), at(102), 0, 0, Fps30Drop), SceneRow(in, out, 0, 0, Fps30Drop)});
        const ResumePoint point{ListFingerprint(e.host->list), 1, c.point, 0};
        ASSERT_EQ(e.RunResume(point), AutoResult::Finished) << e.Log();

        const std::string tape = e.bench.sim->ReportJson();
        const auto recorded = RecordedScenes(e.bench.sim->TapeSegments());
        ASSERT_EQ(recorded.size(), 1u) << tape;
        EXPECT_EQ(recorded[0].recFrom, c.point) << tape;
        EXPECT_EQ(recorded[0].srcFrom, in) << tape;
        EXPECT_EQ(recorded[0].srcTo, out + 1) << tape;
        EXPECT_EQ(e.Deck(kRecorderId).position, c.point + out - in);
    }
}

}  // namespace
