#include "link/Clock.h"

#include <chrono>
#include <thread>

int64_t SteadyClock::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t SteadyClock::NowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t SteadyClock::Sleep(int ms) {
    const int64_t start = NowMs();
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return NowMs() - start;
}

void Clock::WaitUntilUs(int64_t us) {
    // Below this a sleep could overshoot: the rest is spent looking at the clock.
    constexpr int64_t kFineWaitUs = 2000;
    for (;;) {
        const int64_t left = us - NowUs();
        if (left <= 0)
            return;
        if (left > kFineWaitUs)
            Sleep(static_cast<int>((left - kFineWaitUs / 2) / 1000));
        else
            std::this_thread::yield();
    }
}

