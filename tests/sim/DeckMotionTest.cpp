// The tape moving by time on a manual clock: speeds and how wind and search reach theirs,
// latencies and tape ends.
#include "sim/SimFixture.h"

namespace {

class DeckMotion : public SimFixture {};

// Deck 1 at 25 fps winds at 1000 frames per second after a ramp of one second and searches at
// 250 after 0.2 s, each starting 5 frames (200 ms) after its command; deck 2 at 30 fps has the
// default speeds (search 10 and wind 50 times normal play) and no latencies.
const char* kSpeedBench = R"({"devices": [
  {"id": 1, "category": 1, "groups": [8], "timecode_mode": 0, "answer_delay_ms": 0,
   "deck": {"position": 50000, "tape_end": "04:00:00:00", "latency_frames": {"other": 5},
            "wind_speed": 1000, "wind_ramp_ms": 1000, "search_speed": 250, "search_ramp_ms": 200}},
  {"id": 2, "category": 1, "groups": [8], "answer_delay_ms": 0, "deck": {"position": 54000}}]})";

TEST_F(DeckMotion, eachModeMovesAtItsSpeedAndWindAndSearchReachTheirsAfterTheRamp) {
    Serve(kSpeedBench);
    struct Row {
        int id;
        int startMode;  // set at once, at full speed
        uint8_t b1, b2;
        std::vector<std::pair<int, int>> framesMovedAtMs;
        Bytes speedReply;  // reply bytes 4..8, when checked
    };
    const Row rows[] = {
        // From a standing tape the distance in the ramp is half the speed times the ramp.
        {1,
         1,
         0x44,
         0x75,
         {{200, 0}, {700, 125}, {1200, 500}, {2200, 1500}},
         {0x77, 0x00, 0x28, 0x00, 0x01}},
        {1, 1, 0x44, 0x65, {{1200, -500}, {2200, -1500}}, {0x67, 0x00, 0x28, 0x00, 0x01}},
        {1, 1, 0x43, 0x21, {{400, 25}, {1400, 275}}, {0x77, 0x00, 0x0A, 0x00, 0x01}},
        // Winding on until the change settles, then turning round: back where it turned after
        // twice the ramp.
        {1, 2, 0x44, 0x65, {{200, 200}, {1200, 700}, {2200, 200}, {3200, -800}}, {}},
        // From play (25 frames per second) to reverse search: 0.22 s to turn, 24.75 frames.
        {1, 6, 0x43, 0x25, {{200, 5}, {420, -20}, {1420, -270}}, {}},
        {2, 1, 0x43, 0x75, {{1000, 30}}, {}},
        {2, 1, 0x43, 0x65, {{1000, -30}}, {}},
        {2, 1, 0x43, 0x20, {{1000, 6}}, {}},
        {2, 1, 0x43, 0x24, {{1000, -6}}, {}},
        {2, 1, 0x43, 0x21, {{1000, 300}}, {0x77, 0x00, 0x0A, 0x00, 0x01}},
        {2, 1, 0x43, 0x25, {{1000, -300}}, {}},
        {2, 1, 0x44, 0x75, {{1000, 1500}}, {0x77, 0x00, 0x32, 0x00, 0x01}},
        {2, 1, 0x44, 0x65, {{1000, -1500}}, {}},
        {2, 1, 0x42, 0x70, {{1000, 30}}, {}},
        {2, 6, 0x43, 0x6D, {{1000, 0}}, {}},
        {2, 14, 0x42, 0x6D, {{1000, 0}}, {}},
        {2, 6, 0x44, 0x60, {{1000, 0}}, {}},
    };
    for (const Row& r : rows) {
        const int start = sim->Device(r.id)->position;
        sim->SetDeckMode(r.id, r.startMode);
        ASSERT_EQ(Ask(r.id, {0x08, r.b1, r.b2}).size(), 11u);
        int nowMs = 0;
        for (const auto& [atMs, frames] : r.framesMovedAtMs) {
            clock->AdvanceMillis(atMs - nowMs);
            nowMs = atMs;
            EXPECT_EQ(sim->Device(r.id)->position - start, frames)
                << "deck " << r.id << ", command " << Hex({r.b1, r.b2}) << ", at " << atMs;
        }
        if (!r.speedReply.empty()) {
            const Bytes reply = Ask(r.id, {0x48, 0x4E, 0x20});
            EXPECT_EQ(Hex(Bytes(reply.begin() + 4, reply.begin() + 9)), Hex(r.speedReply));
        }
        sim->SetDeckMode(r.id, 1);
        sim->SetDeckPosition(r.id, start);
    }
}

// Deck 3 runs at 25 fps from 15000 frames; its latencies are play 10, pause 20, rec-pause 12
// and record 40 frames.
TEST_F(DeckMotion, aCommandCancelsAChangeUnderWayAndEachSettlesAfterItsLatency) {
    Serve();
    Ask(3, {0x08, 0x43, 0x75});
    Ask(3, {0x08, 0x43, 0x6D});  // back to pause before the tape moved
    EXPECT_FALSE(sim->Device(3)->busy);
    AdvanceFrames(100, 25);
    EXPECT_EQ(sim->Device(3)->mode, 5);
    EXPECT_EQ(sim->Device(3)->position, 15000);

    Ask(3, {0x08, 0x43, 0x75});  // play holds the tape, then it moves at normal speed
    AdvanceFrames(10, 25);
    EXPECT_EQ(sim->Device(3)->position, 15000);
    EXPECT_FALSE(sim->Device(3)->busy);
    AdvanceFrames(25, 25);
    EXPECT_EQ(sim->Device(3)->position, 15025);

    Ask(3, {0x08, 0x43, 0x6D});  // pause lets the tape run on before it stands still
    AdvanceFrames(19, 25);
    EXPECT_EQ(sim->Device(3)->mode, 6);
    EXPECT_TRUE(sim->Device(3)->busy);
    AdvanceFrames(30, 25);
    EXPECT_EQ(sim->Device(3)->mode, 5);
    EXPECT_EQ(sim->Device(3)->position, 15045);

    Ask(3, {0x08, 0x42, 0x6D});  // rec-pause
    AdvanceFrames(12, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    Ask(3, {0x08, 0x42, 0x70});  // record
    AdvanceFrames(39, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    EXPECT_EQ(sim->Device(3)->position, 15045);
    AdvanceFrames(1 + 50, 25);
    EXPECT_EQ(sim->Device(3)->mode, 14);
    EXPECT_EQ(sim->Device(3)->position, 15095);
    Ask(3, {0x08, 0x42, 0x6D});  // keeps recording 12 frames
    AdvanceFrames(100, 25);
    EXPECT_EQ(sim->Device(3)->mode, 13);
    EXPECT_EQ(sim->Device(3)->position, 15107);
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
