#include "engine/CounterPhase.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Readings older than this say little more about the phase, and a rate that drifts (a deck
// that is still spinning up) is followed as it is now.
constexpr int64_t kWindowUs = 3'000'000;
// The phase is taken from this many of the newest readings (about half a second).
constexpr size_t kPhaseReadings = 16;
// The rate and phase count as known from this many readings spanning this many steps.
constexpr size_t kMinReadings = 4;
constexpr int32_t kMinSteps = 3;
// A reading further than this from the estimate belongs to another motion.
constexpr double kContinuityFrames = 1.5;
// A reply held up on its way (a busy machine at either end) carries an old counter at a late
// moment. One such reading is passed over; a second in a row is the tape slowing or standing.
constexpr int kLaggingReadingsPassedOver = 1;

}  // namespace

void CounterPhase::Reset() {
    readings_.clear();
    laggingInARow_ = 0;
    known_ = false;
}

void CounterPhase::Observe(int32_t counter, int64_t heardUs) {
    const Reading r{counter, heardUs};
    if (!Continues(r)) {
        if (LagsBehind(r) && laggingInARow_ < kLaggingReadingsPassedOver) {
            ++laggingInARow_;
            return;
        }
        Reset();
    }
    laggingInARow_ = 0;
    readings_.push_back(r);
    while (readings_.size() > kMinReadings &&
           readings_.back().us - readings_.front().us > kWindowUs)
        readings_.pop_front();
    Fit();
}

bool CounterPhase::Continues(const Reading& r) const {
    if (readings_.empty())
        return true;
    const Reading& last = readings_.back();
    if (r.us <= last.us || r.counter < last.counter)
        return false;
    if (known_)
        return std::fabs(PositionAt(r.us) - (r.counter + 0.5)) <= kContinuityFrames;
    // No step seen yet: the tape may still stand, and readings at rest do not lie on the
    // motion that follows.
    return readings_.front().counter != r.counter;
}

bool CounterPhase::LagsBehind(const Reading& r) const {
    return known_ && r.us > readings_.back().us && r.counter >= readings_.back().counter &&
           r.counter + 0.5 < PositionAt(r.us);
}

void CounterPhase::Fit() {
    known_ = false;
    if (readings_.size() < kMinReadings ||
        readings_.back().counter - readings_.front().counter < kMinSteps)
        return;
    const int64_t ref = readings_.back().us;  // times are taken from the newest reading
    // A reply that came in late just before the motion was taken up again starts the window
    // and fits no line with the others: without it, they may.
    size_t first = 0;
    std::optional<double> rate = FeasibleRate(first);
    if (!rate && readings_.size() > kMinReadings &&
        readings_.back().counter - readings_[1].counter >= kMinSteps)
        rate = FeasibleRate(++first);
    if (!rate) {
        // Timing noise: no line fits the readings. Only many of them outvote a stray one.
        if (readings_.size() < kPhaseReadings)
            return;
        first = 0;
        rate = FittedRate(ref);
    }
    if (!rate || *rate <= 0)
        return;
    // The phase: each reading puts the position at its moment in [counter, counter + 1); the
    // position at the anchor lies where those ranges overlap. The newest readings decide it, so
    // that a small error of the rate is not carried over the whole window.
    double low = -1e18, high = 1e18;
    first =
        std::max(first, readings_.size() > kPhaseReadings ? readings_.size() - kPhaseReadings : 0);
    for (size_t i = first; i < readings_.size(); ++i) {
        const Reading& r = readings_[i];
        const double shift = *rate * static_cast<double>(ref - r.us);
        low = std::max(low, r.counter + shift);
        high = std::min(high, r.counter + 1 + shift);
    }
    ratePerUs_ = *rate;
    refUs_ = ref;
    refPosition_ = (low + high) / 2;  // when timing noise leaves no overlap, between the two
    known_ = true;
}

std::optional<double> CounterPhase::FeasibleRate(size_t first) const {
    // A rate fits two readings when one line passes through both of their one-frame ranges;
    // a line through all of them exists exactly when it does so for every pair. The middle of
    // the rates that fit every pair is the estimate: unlike a fit to the counts, it is not
    // pulled off when the readings fall close to the counter's steps.
    double low = 0, high = 1e18;
    for (size_t i = first; i < readings_.size(); ++i) {
        for (size_t j = i + 1; j < readings_.size(); ++j) {
            const double span = static_cast<double>(readings_[j].us - readings_[i].us);
            const double steps = readings_[j].counter - readings_[i].counter;
            low = std::max(low, (steps - 1) / span);
            high = std::min(high, (steps + 1) / span);
        }
    }
    if (low >= high)
        return std::nullopt;
    return (low + high) / 2;
}

std::optional<double> CounterPhase::FittedRate(int64_t ref) const {
    double st = 0, sc = 0, stt = 0, stc = 0;
    for (const Reading& r : readings_) {
        const double t = static_cast<double>(r.us - ref);
        st += t;
        sc += r.counter;
        stt += t * t;
        stc += t * r.counter;
    }
    const double n = static_cast<double>(readings_.size());
    const double denominator = n * stt - st * st;
    if (denominator <= 0)
        return std::nullopt;
    return (n * stc - st * sc) / denominator;
}

double CounterPhase::PositionAt(int64_t us) const {
    return refPosition_ + ratePerUs_ * static_cast<double>(us - refUs_);
}

int64_t CounterPhase::TimeOf(double position) const {
    return refUs_ + static_cast<int64_t>(std::llround((position - refPosition_) / ratePerUs_));
}

std::optional<int64_t> CounterPhase::DurationUs(double frames) const {
    if (!known_)
        return std::nullopt;
    return static_cast<int64_t>(std::llround(frames / ratePerUs_));
}
