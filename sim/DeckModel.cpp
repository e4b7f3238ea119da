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

double DeckModel::SpeedOf(int mode) {
    using namespace deckmode;
    switch (mode) {
        case kPlay:
        case kRecord:
            return 1.0;
        case kReversePlay:
            return -1.0;
        case kSlowForward:
            return kSlowSpeed;
        case kSlowReverse:
            return -kSlowSpeed;
        case kSearchForward:
            return kSearchSpeed;
        case kSearchReverse:
            return -kSearchSpeed;
        case kFastForward:
            return kWindSpeed;
        case kRewind:
            return -kWindSpeed;
        default:
            return 0.0;
    }
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
}

void DeckModel::ForceMode(int mode) {
    pendingMode_.reset();
    SettleInto(mode);
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
    const double speed = SpeedOf(mode_);
    if (speed == 0.0 || micros <= 0)
        return;
    const bool recording = mode_ == deckmode::kRecord;
    const double from = position_;
    position_ += speed * framesPerSecond_ * static_cast<double>(micros) / 1e6;
    // The transport stops by itself at either end of the tape.
    if (position_ >= spec_.tapeEnd || position_ <= spec_.tapeStart) {
        position_ = std::clamp(position_, double(spec_.tapeStart), double(spec_.tapeEnd));
        pendingMode_.reset();
        mode_ = deckmode::kStop;
    }
    if (recording) {
        if (!*recorded)
            *recorded = RecordedSpan{from, from, take_};
        (*recorded)->to = position_;
    }
}

void DeckModel::SettleInto(int mode) {
    if (mode == deckmode::kRecord && mode_ != deckmode::kRecord)
        ++take_;
    mode_ = mode;
    // A deck at rest shows a whole frame.
    if (SpeedOf(mode) == 0.0)
        position_ = WholeFrame(position_);
}

}  // namespace tarnsim
