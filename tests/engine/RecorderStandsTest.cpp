// The recorder stands before the run moves on or ends, read from its own status, in virtual time:
// with Quick cue a pause that lands late keeps the player in its scene until the recorder is read
// standing, and the scene checks read only a recorder that stands; a recorder away for a moment
// in the middle of a scene is paused once it is back; one that never confirms its pause is
// reported as possibly still recording.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "EngineFixture.h"
#include "VirtualEngine.h"
#include "engine/RecorderPause.h"
#include "sim/FaultPlan.h"

namespace {

constexpr BenchLatencies kDecks{9, 31, 52, 17, 13, 0, 0};
constexpr int64_t kAwayUs = 3'500'000;

class RecorderStandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(e.Serve(LatencyBench(kDecks, Frames("00:01:00:00"), 900), Fps30, &error))
            << error;
        e.host->options = OptionsFor(kDecks);
    }
    // Runs Auto Rec; once the recorder records in the second scene, lose() is called on the
    // engine's thread at that moment of the virtual clock.
    std::optional<AutoResult> RunLosingTheRecorder(const std::function<void(int64_t)>& lose) {
        e.SetScenes({SceneRow(Frames("00:01:20:00"), Frames("00:01:23:00")),
                     SceneRow(Frames("00:01:30:00"), Frames("00:01:40:00"))});
        e.host->stopWhen = [this, lose] {
            if (!lostAtUs_ && e.Sent(kRecorderId, {0x08, 0x42, 0x70}) == 2 &&
                e.Deck(kRecorderId).mode == ModeRecord) {
                lostAtUs_ = e.bench.clock->NowMicros();
                lose(*lostAtUs_);
            }
            return false;
        };
        return e.Run(AutoKind::AutoRec);
    }
    QString FinalMessage() const { return e.host->Log().filter("warning: ").value(0); }

    VirtualEngine e;
    std::optional<int64_t> lostAtUs_;
};

// The fourth scene's pause (the recorder's ninth record or pause command) lands 30 frames late;
// the fifth scene lies behind it on the player's tape, where Quick cue would search back while
// the recorder stops.
TEST_F(RecorderStandsTest, QuickCueLeavesALatePausedSceneOnlyOnceTheRecorderStands) {
    std::string error;
    const auto late = tarnsim::FaultPlan::Parse("late=2@9/30", 1, &error);
    ASSERT_TRUE(late) << error;
    e.bench.sim->SetFaultPlan(*late);
    e.host->options.quickCue = true;
    e.host->options.retakeAttempts = 0;  // the late take stays on the tape, to be looked at
    const std::vector<std::pair<int, int>> rows = {{Frames("00:01:19:10"), Frames("00:01:20:20")},
                                                   {Frames("00:01:24:20"), Frames("00:01:26:00")},
                                                   {Frames("00:01:05:00"), Frames("00:01:06:00")},
                                                   {Frames("00:01:40:00"), Frames("00:01:42:00")},
                                                   {Frames("00:01:30:00"), Frames("00:01:31:00")}};
    std::vector<Scene> list;
    for (const auto& [in, out] : rows)
        list.push_back(SceneRow(in, out));
    e.SetScenes(list);
    ASSERT_EQ(e.Run(AutoKind::AutoRec), AutoResult::Finished) << e.Log();

    const std::string tape = e.bench.sim->ReportJson();
    for (const tarnsim::TapeSegment& segment : e.bench.sim->TapeSegments())
        EXPECT_NE(segment.first.picture, tarnsim::ReceivedFrame::Picture::None) << tape;
    const auto recorded = RecordedScenes(e.bench.sim->TapeSegments());
    ASSERT_EQ(recorded.size(), rows.size()) << tape;
    EXPECT_EQ(recorded[3].srcTo, rows[3].second + 30) << tape;
    EXPECT_EQ(recorded[4].recFrom, recorded[3].recTo) << tape;
    // Each scene's end was read from a recorder standing: the late one is 30 frames long, the
    // one after it exact.
    const QJsonArray checks = QJsonDocument::fromJson(e.host->verificationJson)["scenes"].toArray();
    ASSERT_EQ(checks.size(), 5);
    EXPECT_EQ(checks[3].toObject()["difference_frames"].toInt(), 30);
    EXPECT_EQ(checks[4].toObject()["difference_frames"].toInt(), 0);
    EXPECT_FALSE(checks[4].toObject()["off"].toBool());
}

TEST_F(RecorderStandsTest, ARecorderAwayMidScenePausesOnceItIsBack) {
    const std::optional<AutoResult> result = RunLosingTheRecorder([this](int64_t now) {
        tarnsim::FaultPlan plan;
        plan.AddAbsence(kRecorderId, now, kAwayUs);  // from now, and not again within the run
        e.bench.sim->SetFaultPlan(plan);
    });
    ASSERT_TRUE(lostAtUs_);
    EXPECT_EQ(result, AutoResult::Failed);
    EXPECT_GE(e.bench.clock->NowMicros(), *lostAtUs_ + kAwayUs);
    EXPECT_EQ(e.Deck(kRecorderId).mode, ModeRecordPause);
    EXPECT_TRUE(FinalMessage().startsWith("warning: Automatic editing has stopped"));
    EXPECT_FALSE(FinalMessage().contains("may still be recording")) << FinalMessage().toStdString();
}

TEST_F(RecorderStandsTest, ARecorderThatNeverConfirmsIsReportedAsPossiblyRecording) {
    const std::optional<AutoResult> result = RunLosingTheRecorder([this](int64_t now) {
        tarnsim::FaultPlan plan;
        plan.AddVanish(kRecorderId, now);
        e.bench.sim->SetFaultPlan(plan);
    });
    ASSERT_TRUE(lostAtUs_);
    EXPECT_EQ(result, AutoResult::Failed);
    // Given up on only after the whole wait for it to come back.
    EXPECT_GE(e.bench.clock->NowMicros(), *lostAtUs_ + recorderpause::kConfirmLimitUs);
    EXPECT_TRUE(
        FinalMessage().endsWith("may still be recording: press the stop key on the recorder."))
        << FinalMessage().toStdString();
    EXPECT_EQ(e.Deck(kRecorderId).mode, ModeRecord);
}

}  // namespace
