#include "VirtualBench.h"

#include <algorithm>

#include "link/LinkTiming.h"

namespace {

// 11 bits a byte at 9600 baud.
constexpr int64_t kByteUs = 11 * 1'000'000 / 9600;
// The deck's pause between hearing a request and answering it.
constexpr int64_t kAnswerDelayUs = 3000;

}  // namespace

void VirtualClock::WaitUntilUs(int64_t us) {
    int64_t now = now_.load();
    while (now < us && !now_.compare_exchange_weak(now, us)) {
    }
}

int64_t VirtualClock::Sleep(int ms) {
    const int64_t waited = std::max(ms, 0);
    AdvanceUs(waited * 1000);
    return waited;
}

bool SimLine::Write(const uint8_t* data, size_t n) {
    // The request goes out now; the deck takes it in once it has crossed the line, in Read.
    request_.fill(0);
    std::copy_n(data, std::min(n, request_.size()), request_.begin());
    return true;
}

bool SimLine::Read(uint8_t* buffer, size_t n) {
    clock_.AdvanceUs(linktiming::kRequestLineUs);
    const std::vector<uint8_t> reply = sim_.Exchange(request_);
    bytesRead_ = static_cast<uint32_t>(std::min(reply.size(), n));
    if (reply.size() < n) {
        // Nothing, or too little, within the reply budgets.
        clock_.AdvanceUs(linktiming::kReplyStartMs * 1000);
        return false;
    }
    clock_.AdvanceUs(kAnswerDelayUs + static_cast<int64_t>(n) * kByteUs);
    std::copy_n(reply.begin(), n, buffer);
    return true;
}

bool VirtualBench::Serve(const std::string& benchJson, std::string* error, uint32_t seed) {
    const auto bench = tarnsim::Bench::FromJson(benchJson, error);
    if (!bench)
        return false;
    tarnsim::SimOptions options;
    options.pacing = false;
    options.seed = seed;
    options.clock = clock;
    sim = std::make_unique<tarnsim::Simulator>(*bench, options);
    line = std::make_unique<SimLine>(*sim, *clock);
    io = std::make_unique<CTarnIO>(*line, *clock);
    link = std::make_unique<TarnLink>(*io);
    return true;
}
