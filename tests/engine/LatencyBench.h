// A bench whose decks take their own, chosen times to obey, far from the options' defaults and
// from the demo bench: a camcorder player (id 1, its edit terminal cabled to the recorder) and a
// VCR recorder (id 2), both counting in one timecode mode (30 fps unless told), standing in pause
// and in rec-pause; the player carries an effect unit. Calibration tests measure these times and
// compare them with the truth given here; engine tests set the options to them.
#pragma once

#include <string>

// Frames both decks take for their other mode changes: searches, winds, stop.
constexpr int kOtherLatencyFrames = 5;

struct BenchLatencies {
    int playerPlay = 9;
    int playerPause = 31;
    int recorderRecord = 52;
    int recorderRecPause = 17;
    int recorderPause = 13;
    int jitter = 0;  // every latency varies by up to this many frames either way
    // How long a transition's run in or out lasts; 0: it ends after a few progress questions.
    int transitionFrames = 0;
};

// How close a calibration of the bench comes to its truth, in frames: the line's timing on a
// loaded machine blurs the measurements.
inline constexpr int kCalibrationToleranceFrames = 2;

// playerPosition, recorderPosition: where the tapes stand, in frames; playerTapeEnd: the frame
// where the player's tape ends.
std::string LatencyBench(const BenchLatencies& latencies, int playerPosition, int recorderPosition,
                         int timecodeMode = 1, int playerTapeEnd = 108000);
