// Decks simulated in virtual time: the simulator answers in-process over a ByteLine, and one
// clock drives both the program and the decks. The clock moves only by the line's own time
// (requests and replies at 9600 baud 8O1, the reply budget of a silent deck) and by the program's
// waits, so a run is exact, repeats to the microsecond and takes no real time.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "link/ByteLine.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/TarnLink.h"
#include "sim/Simulator.h"

// The program's look at the clock costs a microsecond, so that a wait shorter than a millisecond,
// spent looking, ends too; the decks' look costs nothing.
class VirtualClock final : public Clock, public tarnsim::SimClock {
public:
    int64_t NowMs() const override { return NowUs() / 1000; }
    int64_t NowUs() const override { return now_++; }
    int64_t NowMicros() const override { return now_.load(); }
    int64_t Sleep(int ms) override;
    void WaitUntilUs(int64_t us) override;
    void AdvanceUs(int64_t us) { now_ += us; }

private:
    mutable std::atomic<int64_t> now_{1'000'000};
};

// The line to the simulator: a request reaches the deck when its last byte is on the line, the
// reply follows after the deck's answer delay.
class SimLine final : public ByteLine {
public:
    SimLine(tarnsim::Simulator& sim, VirtualClock& clock) : sim_(sim), clock_(clock) {}

    bool Write(const uint8_t* data, size_t n) override;
    bool Read(uint8_t* buffer, size_t n) override;
    bool Configure() override { return true; }
    bool IsOpen() const override { return true; }
    bool HungUp() const override { return false; }
    QString DevicePath() const override { return QStringLiteral("simulated bench"); }
    uint32_t LastSystemError() const override { return 0; }
    uint32_t BytesRead() const override { return bytesRead_; }

private:
    tarnsim::Simulator& sim_;
    VirtualClock& clock_;
    tarnsim::WireBytes request_{};
    uint32_t bytesRead_ = 0;
};

// A bench served in virtual time with the program's frame layer and link on it.
struct VirtualBench {
    // False (with the reason) when the bench is malformed. The seed draws the decks' jitter.
    bool Serve(const std::string& benchJson, std::string* error, uint32_t seed = 1);

    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
    std::unique_ptr<tarnsim::Simulator> sim;
    std::unique_ptr<SimLine> line;
    std::unique_ptr<CTarnIO> io;
    std::unique_ptr<TarnLink> link;
};
