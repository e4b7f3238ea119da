#include "engine/TapeSpeed.h"

#include <algorithm>
#include <cmath>

namespace {

// A counter tells whole frames and a reply's moment is known to a fraction of a millisecond:
// over this span a search's speed is known to a few per cent, and a tape still speeding up is
// followed closely enough.
constexpr int64_t kSpanUs = 160'000;
// Shorter than this, one frame of the counter's rounding weighs too much.
constexpr int64_t kShortestSpanUs = 60'000;
// The halves of a steady tape's readings differ by the counter's rounding alone: a frame in
// the few dozen a half covers at search speed. Each half spans half of kSpanUs, so that a tape
// still speeding up from play differs by more than that rounding.
constexpr double kSteadyShare = 0.1;

}  // namespace

void TapeSpeed::Observe(int32_t counter, int64_t heardUs) {
    if (!readings_.empty() && heardUs <= readings_.back().us)
        return;  // the same reply seen again
    readings_.push_back({counter, heardUs});
    while (readings_.size() > 3 && readings_.back().us - readings_[1].us >= kSpanUs)
        readings_.pop_front();
}

std::optional<double> TapeSpeed::Between(const Reading& from, const Reading& to) {
    if (to.us - from.us < kShortestSpanUs / 2)
        return std::nullopt;
    return (to.counter - from.counter) * 1e6 / static_cast<double>(to.us - from.us);
}

std::optional<double> TapeSpeed::FramesPerSecond() const {
    if (readings_.size() < 2 || readings_.back().us - readings_.front().us < kShortestSpanUs)
        return std::nullopt;
    return Between(readings_.front(), readings_.back());
}

bool TapeSpeed::Steady() const {
    if (readings_.size() < 3 || readings_.back().us - readings_.front().us < kSpanUs)
        return false;
    const Reading& middle = readings_[readings_.size() / 2];
    const std::optional<double> older = Between(readings_.front(), middle);
    const std::optional<double> newer = Between(middle, readings_.back());
    return older && newer &&
           std::fabs(*newer - *older) <= kSteadyShare * std::max(std::fabs(*newer), 1.0);
}
