// How fast a winding or searching tape moves, from its counter readings: the frames it covered
// over the last moments, per second of the clock, signed (negative backwards), and whether it
// still speeds up or slows down. A deck that changes mode starts a new measurement.
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
    // The older and the newer half of the readings give the same speed: the tape has reached
    // the speed of its mode.
    bool Steady() const;

private:
    struct Reading {
        int32_t counter;
        int64_t us;
    };
    static std::optional<double> Between(const Reading& from, const Reading& to);

    std::deque<Reading> readings_;
};
