// The tape moving by time: speeds in real time (generous tolerances, the machine is loaded),
// latencies and tape ends on a manual clock.
#include <chrono>
#include <cmath>
#include <thread>

#include "sim/SimFixture.h"

namespace {

using namespace std::chrono;

class DeckMotion : public SimFixture {};

TEST_F(DeckMotion, eachTransportModeMovesTheTapeAtItsSpeedInRealTime) {
    Serve(TestBenchJson(), /*realTime=*/true);
    struct Row {
        uint8_t b1, b2;
        double speed;
    };
    const Row rows[] = {{0x43, 0x75, 1.0},  {0x43, 0x65, -1.0},  {0x43, 0x20, 0.2},
                        {0x43, 0x24, -0.2}, {0x43, 0x21, 10.0},  {0x43, 0x25, -10.0},
                        {0x44, 0x75, 50.0}, {0x44, 0x65, -50.0}, {0x42, 0x70, 1.0},
                        {0x43, 0x6D, 0.0},  {0x42, 0x6D, 0.0},   {0x44, 0x60, 0.0}};
    for (const Row& r : rows) {
        sim->SetDeckPosition(5, 54000);
        ASSERT_EQ(Ask(5, {0x08, r.b1, r.b2}).size(), 11u);
        const auto t0 = steady_clock::now();
        const int p0 = sim->Device(5)->position;
        std::this_thread::sleep_for(milliseconds(400));
        const int p1 = sim->Device(5)->position;
        const double seconds = duration<double>(steady_clock::now() - t0).count();
        const double expected = r.speed * 30 * seconds;
        EXPECT_NEAR(p1 - p0, expected, 3 + 0.25 * std::fabs(expected)) << "speed " << r.speed;
    }
}

TEST_F(DeckMotion, playLatencyHoldsTheTapeThenItMovesAtNormalSpeed) {
    Serve();
    Ask(3, {0x08, 0x43, 0x75});  // 10 frames to start at 25 fps
    AdvanceFrames(10, 25);
    EXPECT_EQ(sim->Device(3)->position, 15000);
    EXPECT_FALSE(sim->Device(3)->busy);
    AdvanceFrames(25, 25);
    EXPECT_EQ(sim->Device(3)->position, 15025);
}

TEST_F(DeckMotion, pauseLatencyLetsTheTapeRunOnBeforeItStandsStill) {
    Serve();
    sim->SetDeckMode(3, 6);
    Ask(3, {0x08, 0x43, 0x6D});  // 20 frames to still
    AdvanceFrames(19, 25);
    EXPECT_EQ(sim->Device(3)->mode, 6);
    EXPECT_TRUE(sim->Device(3)->busy);
    AdvanceFrames(30, 25);
    EXPECT_EQ(sim->Device(3)->mode, 5);
    EXPECT_EQ(sim->Device(3)->position, 15020);
}

TEST_F(DeckMotion, recordStartsAndPausesAfterTheirLatencies) {
    Serve();
    Ask(3, {0x08, 0x42, 0x6D});  // rec-pause: 12 frames
    AdvanceFrames(12, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    Ask(3, {0x08, 0x42, 0x70});  // record: 40 frames
    AdvanceFrames(39, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    EXPECT_EQ(sim->Device(3)->position, 15000);
    AdvanceFrames(1 + 50, 25);
    EXPECT_EQ(sim->Device(3)->mode, 14);
    EXPECT_EQ(sim->Device(3)->position, 15050);
    Ask(3, {0x08, 0x42, 0x6D});  // keeps recording 12 frames
    AdvanceFrames(100, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    EXPECT_EQ(sim->Device(3)->position, 15062);
}

TEST_F(DeckMotion, aRepeatedCommandCancelsAChangeStillUnderWay) {
    Serve();
    Ask(3, {0x08, 0x43, 0x75});
    Ask(3, {0x08, 0x43, 0x6D});  // back to pause before the tape moved
    EXPECT_FALSE(sim->Device(3)->busy);
    AdvanceFrames(100, 25);
    EXPECT_EQ(sim->Device(3)->mode, 5);
    EXPECT_EQ(sim->Device(3)->position, 15000);
}

TEST_F(DeckMotion, windingStopsAtEitherEndOfTheTape) {
    Serve();
    Ask(4, {0x08, 0x44, 0x65});  // rewind a tape that starts at -1800 frames
    AdvanceFrames(30 * 60);
    EXPECT_EQ(sim->Device(4)->mode, 1);
    EXPECT_EQ(sim->Device(4)->position, -1800);
    EXPECT_EQ(Ask(4, {0x08, 0x4E, 0x20})[7], 0x41);  // minus bit and one minute
    Ask(5, {0x08, 0x44, 0x75});
    AdvanceFrames(30 * 60 * 5);
    EXPECT_EQ(sim->Device(5)->mode, 1);
    EXPECT_EQ(sim->Device(5)->position, 2 * 3600 * 30);
}

TEST_F(DeckMotion, jitterVariesLatenciesWithinItsRangeAndFollowsTheSeed) {
    const std::string bench = R"({"devices": [{"id": 1, "category": 1, "groups": [8],
        "answer_delay_ms": 0, "deck": {"mode": "pause", "latency_frames": {"play": 10, "pause": 10},
        "jitter_frames": 4}}]})";
    auto settleTimes = [&]() {
        Serve(bench);
        std::vector<int> frames;
        for (int i = 0; i < 12; ++i) {
            Ask(1, {0x08, 0x43, static_cast<uint8_t>(i % 2 ? 0x6D : 0x75)});
            int waited = 0;
            while (sim->Device(1)->busy && waited < 100) {
                AdvanceFrames(1);
                ++waited;
            }
            frames.push_back(waited);
        }
        return frames;
    };
    const std::vector<int> first = settleTimes();
    for (int f : first) {
        EXPECT_GE(f, 6);
        EXPECT_LE(f, 15);  // 14 frames plus the one in which it settled
    }
    EXPECT_NE(*std::min_element(first.begin(), first.end()),
              *std::max_element(first.begin(), first.end()));
    EXPECT_EQ(settleTimes(), first);
}

}  // namespace
