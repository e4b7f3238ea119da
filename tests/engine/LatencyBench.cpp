#include "LatencyBench.h"

std::string LatencyBench(const BenchLatencies& l, int playerPosition, int recorderPosition,
                         int timecodeMode, int playerTapeEnd) {
    const auto n = [](int v) { return std::to_string(v); };
    const std::string mode = n(timecodeMode), jitter = n(l.jitter), other = n(kOtherLatencyFrames);
    const std::string runLength = l.transitionFrames > 0
                                      ? R"("transition_frames": )" + n(l.transitionFrames)
                                      : R"("progress_polls": 5)";
    return R"({ "devices": [
      { "id": 1, "name": "SlowCam", "category": 7, "groups": [8, 24], "timecode_mode": )" +
           mode + R"(, "answer_delay_ms": 3, "edit_terminal": 2,
        "effect": { "capabilities": [0, 131076, 0, 0, 131076, 0], )" +
           runLength + R"( },
        "deck": { "tape_end": )" +
           n(playerTapeEnd) + R"(, "position": )" + n(playerPosition) +
           R"(, "mode": "pause", "jitter_frames": )" + jitter + R"(,
                  "latency_frames": { "play": )" +
           n(l.playerPlay) + R"(, "pause": )" + n(l.playerPause) + R"(, "other": )" + other +
           R"( } } },
      { "id": 2, "name": "LateVCR", "category": 1, "groups": [8], "timecode_mode": )" +
           mode + R"(, "answer_delay_ms": 3,
        "deck": { "tape_end": "02:00:00:00", "input": 1, "position": )" +
           n(recorderPosition) + R"(, "mode": "rec_pause", "jitter_frames": )" + jitter + R"(,
                  "latency_frames": { "play": 7, "pause": )" +
           n(l.recorderPause) + R"(, "record": )" + n(l.recorderRecord) + R"(, "rec_pause": )" +
           n(l.recorderRecPause) + R"(, "other": )" + other + R"( } } } ] })";
}
