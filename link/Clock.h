// The link's only source of ticks and waits. Engine tests can put a virtual clock in its place;
// the program uses SteadyClock.
#pragma once

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds on a monotonic scale (only differences are meaningful).
    virtual int64_t NowMs() const = 0;
    // The same scale in microseconds, for timing commands to a fraction of a frame.
    virtual int64_t NowUs() const { return NowMs() * 1000; }

    // Waits at least ms milliseconds and returns the time waited. A plain wait of the calling
    // thread: the link thread and command-line programs wait, windows never do.
    virtual int64_t Sleep(int ms) = 0;

    // Waits until the clock reads us, met to the microsecond: a command timed to a fraction of
    // a frame goes out then. Sleeps most of the way; a virtual clock jumps there.
    virtual void WaitUntilUs(int64_t us);
};

class SteadyClock final : public Clock {
public:
    int64_t NowMs() const override;
    int64_t NowUs() const override;
    int64_t Sleep(int ms) override;
};
