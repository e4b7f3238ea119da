// The deck calibration on a bench of chosen latencies, in virtual time and in each counting mode:
// what it measures against the bench's truth, and how it ends when a tape ends under it, when the
// user stops it, and on decks whose latencies vary from one trial to the next.
#include <gtest/gtest.h>

#include <functional>

#include "LatencyBench.h"
#include "VirtualBench.h"
#include "edit/Timecode.h"
#include "engine/DeckCalibration.h"
#include "link/TarnVtr.h"

namespace {

constexpr int kPlayer = 1;
constexpr int kRecorder = 2;
const BenchLatencies kTruth;

class DeckCalibrationTest : public ::testing::TestWithParam<TCMode> {
protected:
    int Fps() const { return FramesPerSecond(GetParam()); }
    // The tapes stand a few frames before a minute's end, where a drop-frame count skips its
    // labels: every trial crosses it.
    int PlayerStart() const { return 60 * Fps() - 10; }
    int RecorderStart() const { return 2 * 60 * Fps() - 20; }

    void Serve(const BenchLatencies& truth, int playerTapeEnd = 108000) {
        std::string error;
        ASSERT_TRUE(bench.Serve(
            LatencyBench(truth, PlayerStart(), RecorderStart(), GetParam(), playerTapeEnd), &error))
            << error;
    }
    CalibrationEnd Calibrate(int recorderId, std::function<bool()> stop = {}) {
        DeckCalibration calibration(*bench.link, *bench.clock, kPlayer, recorderId);
        calibration.SetStopRequest(std::move(stop));
        return calibration.Run(&result);
    }
    tarnsim::DeviceState Deck(int id) const { return *bench.sim->Device(id); }

    VirtualBench bench;
    CalibrationResult result;
};

TEST_P(DeckCalibrationTest, MeasuresEachLatencyToTheFrameAndPutsTheRecorderBackInRecPause) {
    Serve(kTruth);
    ASSERT_EQ(Calibrate(kRecorder), CalibrationEnd::Measured);

    const struct {
        const char* what;
        const LatencyMeasure& measured;
        int truth;
    } rows[] = {{"player play", result.playerStart, kTruth.playerPlay},
                {"player pause", result.playerPause, kTruth.playerPause},
                {"recorder record", result.recorderStart, kTruth.recorderRecord},
                {"recorder rec-pause", result.recorderStop, kTruth.recorderRecPause},
                {"recorder pause", result.recorderPause, kTruth.recorderPause}};
    for (const auto& row : rows) {
        ASSERT_EQ(row.measured.frames.size(), DeckCalibration::kTrials) << row.what;
        EXPECT_EQ(row.measured.Rounded(), row.truth) << row.what;
        EXPECT_NEAR(row.measured.Median(), row.truth, 0.5) << row.what;
        EXPECT_LE(row.measured.Spread(), 0.5) << row.what;
    }
    EXPECT_TRUE(result.Steady());
    EXPECT_NEAR(result.playerFramesPerSecond, Fps(), 0.05);  // fitted over a second of play
    EXPECT_EQ(Deck(kRecorder).position, RecorderStart());
    EXPECT_EQ(Deck(kRecorder).pendingMode, ModeRecordPause);
    EXPECT_EQ(Deck(kPlayer).pendingMode, ModePause);
}

TEST_P(DeckCalibrationTest, ATapeThatEndsWhileItIsTrackedEndsTheMeasurementInTime) {
    Serve(kTruth, PlayerStart() + 20);
    const int64_t began = bench.clock->NowUs();
    EXPECT_EQ(Calibrate(0), CalibrationEnd::NoMotion);
    // Twenty frames of play, a second of standstill and the last commands: well within the
    // time a start may take to measure.
    EXPECT_LT(bench.clock->NowUs() - began, 4'000'000);
    EXPECT_EQ(Deck(kPlayer).position, PlayerStart() + 20);
    EXPECT_NE(Deck(kPlayer).pendingMode, ModePlay);
}

TEST_P(DeckCalibrationTest, StopDuringThePlayersTrialsLeavesThePlayerPausedAndTheRecorderStill) {
    Serve(kTruth);
    const auto stopWhilePlaying = [&] { return Deck(kPlayer).mode == ModePlay; };
    EXPECT_EQ(Calibrate(kRecorder, stopWhilePlaying), CalibrationEnd::Stopped);
    EXPECT_EQ(Deck(kPlayer).pendingMode, ModePause);
    EXPECT_EQ(Deck(kRecorder).pendingMode, ModeRecordPause);
    EXPECT_EQ(Deck(kRecorder).position, RecorderStart());
    EXPECT_TRUE(bench.sim->TapeSegments().empty()) << "nothing was recorded";
}

TEST_P(DeckCalibrationTest, LatenciesThatVaryFromTrialToTrialAreUnsteady) {
    BenchLatencies varying = kTruth;
    varying.jitter = 6;
    Serve(varying);
    ASSERT_EQ(Calibrate(0), CalibrationEnd::Measured);
    EXPECT_FALSE(result.Steady());
    EXPECT_GT(std::max(result.playerStart.Spread(), result.playerPause.Spread()),
              LatencyMeasure::kSteadySpreadFrames);
}

std::string ModeName(const ::testing::TestParamInfo<TCMode>& info) {
    return info.param == Fps25 ? "Fps25" : info.param == Fps30 ? "Fps30" : "Fps30Drop";
}

INSTANTIATE_TEST_SUITE_P(EveryCountingMode, DeckCalibrationTest,
                         ::testing::Values(Fps25, Fps30, Fps30Drop), ModeName);

}  // namespace
