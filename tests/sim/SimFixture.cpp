#include "sim/SimFixture.h"

const std::string& TestBenchJson() {
    static const std::string json = R"({"devices": [
      {"id": 5, "name": "RecorderNine", "category": 1, "groups": [8],
       "maker": "10 20 30 40 50 60", "timecode_mode": 1, "answer_delay_ms": 0,
       "deck": {"position": "00:01:02:03", "tape_end": "02:00:00:00"}},
      {"id": 7, "name": "CAM", "category": 7, "groups": [8, 24], "answer_delay_ms": 0,
       "deck": {"position": 900}, "effect": {}, "edit_terminal": 5},
      {"id": 9, "name": "PRINT6", "category": 34, "power": false, "answer_delay_ms": 0},
      {"id": 3, "name": "PAL", "category": 1, "groups": [8], "timecode_mode": 0,
       "answer_delay_ms": 0,
       "deck": {"position": "00:10:00:00", "mode": "pause",
                "latency_frames": {"play": 10, "pause": 20, "record": 40, "rec_pause": 12,
                                   "other": 5}}},
      {"id": 4, "name": "DF", "category": 1, "groups": [8], "timecode_mode": 2,
       "answer_delay_ms": 0,
       "deck": {"tape_start": -1800, "position": "-00:00:05:10"}}
    ]})";
    return json;
}

tarnsim::Bench LoadBench(const std::string& json) {
    std::string error;
    auto bench = tarnsim::Bench::FromJson(json, &error);
    EXPECT_TRUE(bench.has_value()) << error;
    return bench.value_or(tarnsim::Bench{});
}

void SimFixture::Serve(const std::string& benchJson, bool realTime, bool pacing) {
    tarnsim::SimOptions options;
    options.pacing = pacing;
    if (!realTime) {
        clock = std::make_shared<tarnsim::ManualSimClock>();
        options.clock = clock;
    }
    sim = std::make_unique<tarnsim::Simulator>(LoadBench(benchJson), options);
    std::string error;
    ASSERT_TRUE(sim->Start(&error)) << error;
    line = std::make_unique<PtyLine>(sim->SlavePath());
    ASSERT_TRUE(line->IsOpen());
}

void SimFixture::TearDown() {
    line.reset();
    sim.reset();
}

Bytes SimFixture::Ask(int id, std::initializer_list<uint8_t> command) {
    return line->Exchange(RequestFrame(id, command));
}

void SimFixture::AdvanceFrames(int frames, int fps) {
    clock->AdvanceMicros(int64_t{frames} * 1'000'000 / fps);
}
