// When the engine's timed commands go out. A command is aimed at a tape position: it must reach
// the deck a number of frames (the deck's latency) before the tape gets there. While the deck
// plays, the moments its counter steps (CounterPhase) give where the tape stands between polls,
// so the moment to write a command is known to a fraction of a frame; a command whose moment
// falls before the next chance to send it is held back to that moment and sent then. Without a
// known phase the counter's reading decides. Uses only the clock and the readings it is given,
// so it runs on a virtual clock as on the real one.
#pragma once

#include <cstdint>

#include "engine/CounterPhase.h"

class Clock;
struct StatusSample;

class CommandScheduler {
public:
    // A command whose moment comes within this many exchanges is held back for it: the next step
    // check (one poll away, two when a speed check comes between) could come too late.
    static constexpr double kHoldExchanges = 2.5;

    explicit CommandScheduler(Clock& clock) : clock_(clock) {}

    // A new operation: the tape's motion is learned again; the exchange time is kept.
    void Reset() { phase_.Reset(); }
    // After each accepted poll, at once: how long the poll's exchange took, and its counter
    // reading when the deck plays (playing) and is not settling a change.
    void Observe(const StatusSample& sample, bool playing);

    bool Known() const { return phase_.Known(); }
    int64_t NowUs() const;
    // How long one status exchange takes, averaged (0 before the first).
    int64_t ExchangeUs() const { return exchangeUs_; }
    int64_t ExchangesUs(double exchanges) const;
    // Microseconds that frames take at the measured rate; nothing unless Known().
    std::optional<int64_t> DurationUs(double frames) const { return phase_.DurationUs(frames); }
    // Frames that us microseconds take: at the measured rate, else at nominalFps.
    double FramesOf(double us, int nominalFps) const;

    // When a command must be written so that the deck hears it leadFrames before the tape
    // reaches position (microseconds of the clock); only when Known().
    int64_t WriteMomentUs(double position, double leadFrames) const;
    // True when that command goes out now: its moment has come, or comes before the next chance
    // to send it (holdExchanges away) and has been waited for. Without a known phase: once
    // counter has reached it.
    bool MomentHasCome(double position, double leadFrames, double holdExchanges, int32_t counter);
    void WaitUntilUs(int64_t us);

private:
    Clock& clock_;
    CounterPhase phase_;
    int64_t exchangeUs_ = 0;
};
