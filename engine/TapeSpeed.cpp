#include "engine/TapeSpeed.h"

namespace {

// A counter tells whole frames and a reply's moment is known to a fraction of a millisecond:
// over this span a search's speed is known to a few per cent, and a tape still speeding up is
// followed closely enough.
constexpr int64_t kSpanUs = 100'000;
// Shorter than this, one frame of the counter's rounding weighs too much.
constexpr int64_t kShortestSpanUs = 60'000;

}  // namespace

void TapeSpeed::Observe(int32_t counter, int64_t heardUs) {
    if (!readings_.empty() && heardUs <= readings_.back().us)
        return;  // the same reply seen again
    readings_.push_back({counter, heardUs});
    while (readings_.size() > 2 && readings_.back().us - readings_[1].us >= kSpanUs)
        readings_.pop_front();
}

std::optional<double> TapeSpeed::FramesPerSecond() const {
    if (readings_.size() < 2)
        return std::nullopt;
    const Reading& first = readings_.front();
    const Reading& last = readings_.back();
    if (last.us - first.us < kShortestSpanUs)
        return std::nullopt;
    return (last.counter - first.counter) * 1e6 / static_cast<double>(last.us - first.us);
}
