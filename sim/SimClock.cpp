#include "sim/SimClock.h"

namespace tarnsim {

SteadySimClock::SteadySimClock() : start_(std::chrono::steady_clock::now()) {}

int64_t SteadySimClock::NowMicros() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

}  // namespace tarnsim
