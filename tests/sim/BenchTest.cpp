// Bench files: the demo bench loads as described, and malformed benches are refused with a
// message naming the place at fault.
#include "sim/SimFixture.h"

namespace {

using tarnsim::Bench;

TEST(BenchFile, demoBenchHasACamcorderPlayerAndAVcrRecorder) {
    std::string error;
    const auto bench = Bench::FromFile(DEMO_BENCH_PATH, &error);
    ASSERT_TRUE(bench) << error;
    ASSERT_EQ(bench->Devices().size(), 2u);
    const tarnsim::DeviceSpec& cam = bench->Devices()[0];
    const tarnsim::DeviceSpec& vcr = bench->Devices()[1];
    EXPECT_EQ(cam.category, 7);
    EXPECT_TRUE(cam.HasGroup(0x08) && cam.HasGroup(0x18));
    EXPECT_EQ(vcr.category, 1);
    EXPECT_TRUE(vcr.HasGroup(0x08) && !vcr.HasGroup(0x18));
    for (const auto& d : bench->Devices()) {
        EXPECT_EQ(d.timecodeMode, 1);
        EXPECT_EQ(d.deck->jitterFrames, 0);
        EXPECT_GE(d.deck->tapeEnd, 30 * 60 * 30);  // room for a list from 00:00:30:00
    }
}

TEST(BenchFile, positionsAcceptCounterTextsInTheDeviceMode) {
    const Bench bench = LoadBench(R"({"devices": [{"id": 1, "category": 1, "groups": [8],
        "timecode_mode": 2, "deck": {"tape_start": "-00:00:01;00", "position": "00:10:00;00"}}]})");
    ASSERT_EQ(bench.Devices().size(), 1u);
    EXPECT_EQ(bench.Devices()[0].deck->tapeStart, -30);
    EXPECT_EQ(bench.Devices()[0].deck->position, 17982);
}

TEST(BenchFile, malformedBenchesAreRefusedNamingTheFieldAtFault) {
    const std::pair<const char*, const char*> cases[] = {
        {"{", "not JSON"},
        {R"({"decks": []})", "bench"},
        {R"({"devices": [{"id": 1}]})", "missing \"category\""},
        {R"({"devices": [{"id": 0, "category": 1}]})", "devices[0].id"},
        {R"({"devices": [{"id": 1, "category": 1, "colour": 3}]})", "unknown key \"colour\""},
        {R"({"devices": [{"id": 1, "category": 1}, {"id": 1, "category": 7}]})", "used twice"},
        {R"({"devices": [{"id": 1, "category": 1, "name": "ThirteenChars"}]})", "devices[0].name"},
        {R"({"devices": [{"id": 1, "category": 1, "maker": "01 02 03"}]})", "devices[0].maker"},
        {R"({"devices": [{"id": 1, "category": 1, "timecode_mode": 3}]})", "timecode_mode"},
        {R"({"devices": [{"id": 1, "category": 1, "deck": {}}]})", "command group 8"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8]}]})", "command group 8"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8],
             "deck": {"position": "00:00:60:00"}}]})",
         "devices[0].deck.position"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8],
             "deck": {"tape_end": 0}}]})",
         "tape_end"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8],
             "deck": {"latency_frames": {"play": -1}}}]})",
         "deck.latency_frames.play"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8], "deck": {},
             "edit_terminal": 2}]})",
         "edit_terminal"},
        {R"({"devices": [{"id": 1, "category": 7, "groups": [8, 24], "deck": {},
             "effect": {"capabilities": [1, 0, 0, 0, 0, 0]}}]})",
         "effect.capabilities"},
        {R"({"devices": [{"id": 1, "category": 7, "groups": [8, 24], "deck": {},
             "effect": {"transition_frames": 0}}]})",
         "effect.transition_frames"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8],
             "deck": {"busy_mode": "newest"}}]})",
         "deck.busy_mode"},
        {R"({"devices": [{"id": 1, "category": 1, "power_on_ms": -5}]})", "power_on_ms"},
        // A search at normal play's speed could not be told from play by the speed query.
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8], "timecode_mode": 0,
             "deck": {"search_speed": 49}}]})",
         "deck.search_speed"},
        {R"({"devices": [{"id": 1, "category": 1, "groups": [8],
             "deck": {"wind_ramp_ms": 10001}}]})",
         "deck.wind_ramp_ms"},
    };
    for (const auto& [json, fragment] : cases) {
        std::string error;
        EXPECT_FALSE(Bench::FromJson(json, &error)) << json;
        EXPECT_NE(error.find(fragment), std::string::npos) << json << "\n  gave: " << error;
    }
    // A missing file is reported with its path.
    std::string error;
    EXPECT_FALSE(Bench::FromFile("/nonexistent/bench.json", &error));
    EXPECT_NE(error.find("/nonexistent/bench.json"), std::string::npos);
}

}  // namespace
