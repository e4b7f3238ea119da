#include "LatencyBench.h"

std::string LatencyBench(const BenchLatencies& l, int playerPosition, int recorderPosition) {
    const auto n = [](int v) { return std::to_string(v); };
    return R"({ "devices": [
      { "id": 1, "name": "SlowCam", "category": 7, "groups": [8], "timecode_mode": 1,
        "answer_delay_ms": 3, "edit_terminal": 2,
        "deck": { "tape_end": "01:00:00:00", "position": )" +
           n(playerPosition) + R"(, "mode": "pause",
                  "latency_frames": { "play": )" +
           n(l.playerPlay) + R"(, "pause": )" + n(l.playerPause) + R"(, "other": 5 } } },
      { "id": 2, "name": "LateVCR", "category": 1, "groups": [8], "timecode_mode": 1,
        "answer_delay_ms": 3,
        "deck": { "tape_end": "02:00:00:00", "input": 1, "position": )" +
           n(recorderPosition) + R"(, "mode": "rec_pause",
                  "latency_frames": { "play": 7, "pause": )" +
           n(l.recorderPause) + R"(, "record": )" + n(l.recorderRecord) + R"(, "rec_pause": )" +
           n(l.recorderRecPause) + R"(, "other": 5 } } } ] })";
}
