// The tape transport of one simulated deck, moved by the clock: modes, speeds, mechanical
// latencies (with the busy time they cause), tape ends and the counter.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <random>

#include "sim/Bench.h"

namespace tarnsim {

// Counter positions passed while the deck was recording, [from, to).
struct RecordedSpan {
    double from = 0;
    double to = 0;
    int take = 0;  // which run of recording: one up each time the deck starts recording
};

class DeckModel {
public:
    // Slow motion in multiples of normal play; wind and search speeds come from the bench.
    static constexpr double kSlowSpeed = 0.2;

    // A thousandth of a frame is below anything a deck can tell apart; it absorbs the rounding
    // of latencies to whole microseconds, so a tape that stops on a frame reads that frame.
    static constexpr double kFrameTolerance = 1e-3;
    static int WholeFrame(double position) {
        return static_cast<int>(std::floor(position + kFrameTolerance));
    }

    DeckModel(const DeckSpec& spec, int framesPerSecond, uint32_t jitterSeed);

    static bool IsMode(int mode);
    // The speed the deck is set to in its mode, in multiples of normal play (negative: reverse),
    // whether or not the tape has reached it yet.
    double ModeSpeedMultiple() const { return ModeSpeed(mode_) / framesPerSecond_; }

    // Moves the tape up to `nowMicros`; a pending mode change takes effect when its time comes.
    // Returns what was recorded meanwhile.
    std::optional<RecordedSpan> AdvanceTo(int64_t nowMicros);
    // A mode command: the change settles after the mode's latency (the deck is busy until then).
    void Command(int mode, int64_t nowMicros);
    // One frame forward (+1) or back (-1); the deck is left in still.
    void Step(int direction);
    // Immediate changes for tests and for power loss: no latency, no busy time.
    void ForceMode(int mode);
    void SetPosition(int frames);
    void SetCounterOn(bool on) { counterOn_ = on; }
    // Record, rec-pause and pause commands are counted together, from 1 and from this call on;
    // the numbers given take effect that many extra frames after their latency.
    void SetLateCommands(std::map<int, int> extraFramesByNumber);

    int Mode() const { return mode_; }
    int PendingMode() const { return pendingMode_.value_or(mode_); }
    bool Busy() const { return pendingMode_.has_value(); }
    // When the change under way takes effect; nothing when none is under way.
    std::optional<int64_t> ChangeAtMicros() const {
        return pendingMode_ ? std::optional<int64_t>(pendingAtMicros_) : std::nullopt;
    }
    int Counter() const;
    double ExactPosition() const { return position_; }
    bool CounterAvailable() const { return counterOn_ && mode_ != deckmode::kEject; }
    bool Recording() const { return mode_ == deckmode::kRecord; }

private:
    // Tape frames per second in `mode` once the tape has reached its speed.
    double ModeSpeed(int mode) const;
    // How fast the tape speeds up in `mode`, frames per second per second; 0: at once.
    double Acceleration(int mode) const;
    int LatencyFrames(int mode);
    int LateFrames(int mode);
    void Move(int64_t micros, std::optional<RecordedSpan>* recorded);
    double SpeedUp(double seconds);
    void SettleInto(int mode);

    DeckSpec spec_;
    int framesPerSecond_;
    std::mt19937 jitter_;
    int mode_;
    double position_;
    double speed_ = 0;  // the tape's speed now, frames per second
    bool counterOn_;
    int64_t timeMicros_ = 0;
    std::optional<int> pendingMode_;
    int64_t pendingAtMicros_ = 0;
    int take_ = 0;
    std::map<int, int> lateFrames_;  // command number -> extra frames
    int recordPauseCommands_ = 0;
};

}  // namespace tarnsim
