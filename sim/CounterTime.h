// A deck's tape counter in its own counting mode: 0 = 25 frames per second, 1 = 30 non-drop,
// 2 = 30 drop-frame. Converts frame counts to the hours/minutes/seconds/frames a deck reports.
#pragma once

#include <optional>
#include <string>

namespace tarnsim {

struct CounterFields {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;
};

class CounterTime {
public:
    static int FramesPerSecond(int mode) { return mode == 0 ? 25 : 30; }

    // Fields of a non-negative frame count; the caller reports the sign separately.
    static CounterFields FromFrames(int frames, int mode);
    // Frame count of the fields, or nothing when a field is out of range (or names a frame
    // label that drop-frame counting skips).
    static std::optional<int> ToFrames(const CounterFields& fields, int mode);
    // "HH:MM:SS:FF" (any of : . ; before the frames), optionally signed.
    static std::optional<int> ParseText(const std::string& text, int mode);
};

}  // namespace tarnsim
