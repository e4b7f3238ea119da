// How fast a winding or searching tape moves, from its counter readings: the frames it covered
// over the last tenth of a second or so, per second of the clock, signed (negative backwards).
// A deck that changes mode starts a new measurement.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

class TapeSpeed {
public:
    void Reset() { readings_.clear(); }
    // A counter reading heard at heardUs (microseconds of the clock).
    void Observe(int32_t counter, int64_t heardUs);
    // Frames per second, once the readings span long enough to tell.
    std::optional<double> FramesPerSecond() const;

private:
    struct Reading {
        int32_t counter;
        int64_t us;
    };
    std::deque<Reading> readings_;
};
