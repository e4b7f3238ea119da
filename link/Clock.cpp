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
