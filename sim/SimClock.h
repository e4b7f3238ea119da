// The simulator's time source. Every deck movement is computed from it, so tests can swap the
// real clock for a manual one and make deck motion deterministic.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace tarnsim {

class SimClock {
public:
    virtual ~SimClock() = default;
    // Microseconds since the clock's own start; never goes backwards.
    virtual int64_t NowMicros() const = 0;
};

// Real time from the monotonic clock; the default.
class SteadySimClock : public SimClock {
public:
    SteadySimClock();
    int64_t NowMicros() const override;

private:
    std::chrono::steady_clock::time_point start_;
};

// Time that moves only when a test advances it.
class ManualSimClock : public SimClock {
public:
    int64_t NowMicros() const override { return now_.load(); }
    void AdvanceMicros(int64_t micros) { now_ += micros; }
    void AdvanceMillis(int64_t millis) { now_ += millis * 1000; }

private:
    std::atomic<int64_t> now_{0};
};

}  // namespace tarnsim
