#include "sim/DeckModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarnsim {

DeckModel::DeckModel(const DeckSpec& spec, int framesPerSecond, uint32_t jitterSeed)
    : spec_(spec),
      framesPerSecond_(framesPerSecond),
      jitter_(jitterSeed),
      mode_(spec.mode),
      position_(spec.position),
      counterOn_(spec.counter) {}

double DeckModel::ModeSpeed(int mode) const {
    using namespace deckmode;
    const double normal = framesPerSecond_;
    switch (mode) {
        case kPlay:
        case kRecord:
            return normal;
        case kReversePlay:
            return -normal;
        case kSlowForward:
            return kSlowSpeed * normal;
        case kSlowReverse:
            return -kSlowSpeed * normal;
        case kSearchForward:
            return spec_.searchSpeed;
        case kSearchReverse:
            return -spec_.searchSpeed;
        case kFastForward:
            return spec_.windSpeed;
        case kRewind:
            return -spec_.windSpeed;
        default:
            return 0.0;
    }
}

// Wind and search speed up evenly, from a standing tape to their speed in their ramp's time;
// every other mode runs at its speed as soon as its latency is over.
double DeckModel::Acceleration(int mode) const {
    using namespace deckmode;
    const bool wind = mode == kFastForward || mode == kRewind;
    const bool search = mode == kSearchForward || mode == kSearchReverse;
    const int rampMs = wind ? spec_.windRampMs : (search ? spec_.searchRampMs : 0);
    return rampMs > 0 ? std::fabs(ModeSpeed(mode)) * 1000.0 / rampMs : 0.0;
}

bool DeckModel::IsMode(int mode) {
    using namespace deckmode;
    for (int m : {kEject, kStop, kFastForward, kRewind, kPause, kPlay, kReversePlay, kRecPause,
                  kRecord, kSlowForward, kSlowReverse, kSearchForward, kSearchReverse})
        if (m == mode)
            return true;
    return false;
}

std::optional<RecordedSpan> DeckModel::AdvanceTo(int64_t nowMicros) {
    std::optional<RecordedSpan> recorded;
    while (timeMicros_ < nowMicros) {
        int64_t until = nowMicros;
        if (pendingMode_)
            until = std::clamp(pendingAtMicros_, timeMicros_, nowMicros);
        Move(until - timeMicros_, &recorded);
        timeMicros_ = until;
        if (pendingMode_ && timeMicros_ >= pendingAtMicros_) {
            SettleInto(*pendingMode_);
            pendingMode_.reset();
        }
    }
    if (pendingMode_ && timeMicros_ >= pendingAtMicros_) {  // zero-latency change
        SettleInto(*pendingMode_);
        pendingMode_.reset();
    }
    return recorded;
}

void DeckModel::Command(int mode, int64_t nowMicros) {
    AdvanceTo(nowMicros);
    const int lateFrames = LateFrames(mode);
    if (mode == mode_) {
        pendingMode_.reset();  // a repeated command cancels a change still under way
        return;
    }
    pendingMode_ = mode;
    pendingAtMicros_ =
        nowMicros + int64_t{LatencyFrames(mode) + lateFrames} * 1'000'000 / framesPerSecond_;
    AdvanceTo(nowMicros);
}

void DeckModel::Step(int direction) {
    pendingMode_.reset();
    SetPosition(WholeFrame(position_) + direction);
    mode_ = deckmode::kPause;
    speed_ = 0.0;
}

void DeckModel::ForceMode(int mode) {
    pendingMode_.reset();
    SettleInto(mode);
    speed_ = ModeSpeed(mode);
}

void DeckModel::SetLateCommands(std::map<int, int> extraFramesByNumber) {
    lateFrames_ = std::move(extraFramesByNumber);
    recordPauseCommands_ = 0;
}

// Counts the command when it is one of those the late fault can name, and says how late it is.
int DeckModel::LateFrames(int mode) {
    using namespace deckmode;
    if (mode != kRecord && mode != kRecPause && mode != kPause)
        return 0;
    const auto late = lateFrames_.find(++recordPauseCommands_);
    return late == lateFrames_.end() ? 0 : late->second;
}

void DeckModel::SetPosition(int frames) {
    position_ = std::clamp(frames, spec_.tapeStart, spec_.tapeEnd);
}

int DeckModel::Counter() const {
    return static_cast<int>(std::floor(position_ + 1e-9));
}

int DeckModel::LatencyFrames(int mode) {
    using namespace deckmode;
    const LatencySpec& l = spec_.latency;
    int frames = l.other;
    if (mode == kPlay || mode == kReversePlay)
        frames = l.play;
    if (mode == kPause)
        frames = l.pause;
    if (mode == kRecord)
        frames = l.record;
    if (mode == kRecPause)
        frames = l.recPause;
    if (spec_.jitterFrames > 0) {
        std::uniform_int_distribution<int> spread(-spec_.jitterFrames, spec_.jitterFrames);
        frames = std::max(0, frames + spread(jitter_));
    }
    return frames;
}

void DeckModel::Move(int64_t micros, std::optional<RecordedSpan>* recorded) {
    const double target = ModeSpeed(mode_);
    if ((speed_ == 0.0 && target == 0.0) || micros <= 0)
        return;
    const bool recording = mode_ == deckmode::kRecord;
    const double from = position_;
    const double steadySeconds = SpeedUp(static_cast<double>(micros) / 1e6);
    position_ += speed_ * steadySeconds;
    // The transport stops by itself at either end of the tape.
    if (position_ >= spec_.tapeEnd || position_ <= spec_.tapeStart) {
        position_ = std::clamp(position_, double(spec_.tapeStart), double(spec_.tapeEnd));
        pendingMode_.reset();
        mode_ = deckmode::kStop;
        speed_ = 0.0;
    }
    if (recording) {
        if (!*recorded)
            *recorded = RecordedSpan{from, from, take_};
        (*recorded)->to = position_;
    }
}

// Moves the tape while it still speeds up (or turns round) towards the mode's speed, for at most
// `seconds`; returns the part of them left at that speed.
double DeckModel::SpeedUp(double seconds) {
    const double target = ModeSpeed(mode_);
    const double rate = Acceleration(mode_);
    if (speed_ == target || rate == 0.0)
        return seconds;
    const double change = std::fabs(target - speed_);
    const double acceleration = target > speed_ ? rate : -rate;
    const double ramp = std::min(seconds, change / rate);
    position_ += speed_ * ramp + acceleration * ramp * ramp / 2;
    speed_ = ramp * rate >= change ? target : speed_ + acceleration * ramp;
    return seconds - ramp;
}

void DeckModel::SettleInto(int mode) {
    if (mode == deckmode::kRecord && mode_ != deckmode::kRecord)
        ++take_;
    mode_ = mode;
    if (Acceleration(mode) == 0.0)
        speed_ = ModeSpeed(mode);
    // A deck at rest shows a whole frame.
    if (speed_ == 0.0 && ModeSpeed(mode) == 0.0)
        position_ = WholeFrame(position_);
}

}  // namespace tarnsim
