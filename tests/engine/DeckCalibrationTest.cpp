// The deck calibration on a bench of chosen latencies, in virtual time and in each counting mode:
// what it measures against the bench's truth, and how it ends when a tape ends under it, when the
// user stops it, and on decks whose latencies vary from one trial to the next.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

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
        bench = std::make_unique<VirtualBench>();
        std::string error;
        ASSERT_TRUE(bench->Serve(
            LatencyBench(truth, PlayerStart(), RecorderStart(), GetParam(), playerTapeEnd), &error))
            << error;
    }
    CalibrationEnd Calibrate(int recorderId, std::function<bool()> stop = {}) {
        DeckCalibration calibration(*bench->link, *bench->clock, kPlayer, recorderId);
        calibration.SetStopRequest(std::move(stop));
        return calibration.Run(&result);
    }
    tarnsim::DeviceState Deck(int id) const { return *bench->sim->Device(id); }

    std::unique_ptr<VirtualBench> bench;
    CalibrationResult result;
};

// Two benches far apart, neither the demo bench. A start is timed from the moment the command was
// heard to the tape's first step, each known to a tenth of a frame from the counter's phase; a
// deck that stops stands somewhere in its frame, which the measurement takes as half a frame in:
// a stop is known to half a frame and a tenth. On decks without jitter every trial measures the
// same.
TEST_P(DeckCalibrationTest, MeasuresEachLatencyAndPutsTheRecorderBackInRecPause) {
    constexpr double kStart = 0.2, kStop = 0.6;
    const BenchLatencies quick{4, 12, 25, 8, 6};
    for (const BenchLatencies& truth : {kTruth, quick}) {
        SCOPED_TRACE(truth.playerPlay);
        Serve(truth);
        ASSERT_EQ(Calibrate(kRecorder), CalibrationEnd::Measured);

        const struct {
            const char* what;
            const LatencyMeasure& measured;
            int truth;
            double within;
        } rows[] = {{"player play", result.playerStart, truth.playerPlay, kStart},
                    {"player pause", result.playerPause, truth.playerPause, kStop},
                    {"recorder record", result.recorderStart, truth.recorderRecord, kStart},
                    {"recorder rec-pause", result.recorderStop, truth.recorderRecPause, kStop},
                    {"recorder pause", result.recorderPause, truth.recorderPause, kStop}};
        for (const auto& row : rows) {
            ASSERT_EQ(row.measured.frames.size(), DeckCalibration::kTrials) << row.what;
            EXPECT_NEAR(row.measured.Median(), row.truth, row.within) << row.what;
            EXPECT_NEAR(row.measured.Spread(), 0, 1e-9) << row.what;
        }
        EXPECT_TRUE(result.Steady());
        EXPECT_NEAR(result.playerFramesPerSecond, Fps(), 0.05);  // fitted over a second of play
        EXPECT_EQ(Deck(kRecorder).position, RecorderStart());
        EXPECT_EQ(Deck(kRecorder).pendingMode, ModeRecordPause);
        EXPECT_EQ(Deck(kPlayer).pendingMode, ModePause);
    }
}

TEST_P(DeckCalibrationTest, ATapeThatEndsWhileItIsTrackedEndsTheMeasurementInTime) {
    Serve(kTruth, PlayerStart() + 20);
    const int64_t began = bench->clock->NowUs();
    EXPECT_EQ(Calibrate(0), CalibrationEnd::NoMotion);
    // Twenty frames of play, a second of standstill and the last commands: well within the
    // time a start may take to measure.
    EXPECT_LT(bench->clock->NowUs() - began, 4'000'000);
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
    EXPECT_TRUE(bench->sim->TapeSegments().empty()) << "nothing was recorded";
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

// What the trials come to: the median, half their spread, the median rounded (never below 0),
// and whether they agree well enough to correct for with one number.
TEST(LatencyMeasureTest, TheTrialsGiveTheirMedianSpreadAndRoundedValue) {
    struct Case {
        std::vector<double> frames;
        double median, spread;
        std::optional<int> rounded;
        bool steady;
    };
    const Case cases[] = {
        {{9.2, 8.9, 9.4}, 9.2, 0.25, 9, true},
        {{16.4, 16.6, 17.0, 16.0}, 16.5, 0.5, 17, true},
        {{10.0, 15.0, 11.0}, 11.0, 2.5, 11, false},
        {{-0.7, -0.2, -0.4}, -0.4, 0.25, 0, true},
        {{}, 0, 0, std::nullopt, true},
    };
    for (const Case& c : cases) {
        const LatencyMeasure m{c.frames};
        SCOPED_TRACE(c.median);
        EXPECT_EQ(m.Rounded(), c.rounded);
        EXPECT_EQ(m.Steady(), c.steady);
        if (m.Measured()) {
            EXPECT_DOUBLE_EQ(m.Median(), c.median);
            EXPECT_DOUBLE_EQ(m.Spread(), c.spread);
        }
    }
}

std::string ModeName(const ::testing::TestParamInfo<TCMode>& info) {
    return info.param == Fps25 ? "Fps25" : info.param == Fps30 ? "Fps30" : "Fps30Drop";
}

INSTANTIATE_TEST_SUITE_P(EveryCountingMode, DeckCalibrationTest,
                         ::testing::Values(Fps25, Fps30, Fps30Drop), ModeName);

}  // namespace
