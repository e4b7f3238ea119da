// Where a deck's moving tape counter stands between two of its readings. A counter only says
// which whole frame the tape is on, and it is read about once a frame; but each reading, taken
// at a known moment, bounds where the frame boundaries lie, and many readings together give
// the tape's rate and the moment of each step to a small part of a frame. The rate is measured,
// not taken from the counting mode, so a deck that runs a little slow, or a clock that runs at
// another pace, is followed as it is.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

class CounterPhase {
public:
    // A reading of the counter taken at heardUs (microseconds). A reading that does not continue
    // the motion seen so far (a jump, a standstill, a reversal) starts the estimate over; one
    // that lags behind it once (a reply that reached us late) is passed over.
    void Observe(int32_t counter, int64_t heardUs);
    void Reset();

    // Rate and phase are known: enough readings over enough steps of one forward motion.
    bool Known() const { return known_; }
    // The exact tape position at a moment; the counter shows its whole part.
    double PositionAt(int64_t us) const;
    // The moment the tape reaches position.
    int64_t TimeOf(double position) const;
    // Frames per second of the clock, as measured.
    double FramesPerSecond() const { return ratePerUs_ * 1e6; }
    // Microseconds that a number of frames takes at the measured rate; nothing while the rate is
    // unknown.
    std::optional<int64_t> DurationUs(double frames) const;

private:
    struct Reading {
        int32_t counter;
        int64_t us;
    };
    bool Continues(const Reading& r) const;
    bool LagsBehind(const Reading& r) const;
    void Fit();
    // Frames per microsecond that fit every reading from the first on, and a least-squares fit
    // for when timing noise leaves none.
    std::optional<double> FeasibleRate(size_t first) const;
    std::optional<double> FittedRate(int64_t ref) const;

    std::deque<Reading> readings_;
    int laggingInARow_ = 0;
    bool known_ = false;
    double ratePerUs_ = 0;  // frames per microsecond
    int64_t refUs_ = 0;     // the anchor: position refPosition_ at refUs_
    double refPosition_ = 0;
};
