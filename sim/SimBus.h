// The devices of a bench on one bus: finds the device a request is addressed to, keeps every
// deck moving on the same clock, and wires edit terminals to the decks they record on.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "sim/Bench.h"
#include "sim/SimDevice.h"
#include "sim/TapeLog.h"

namespace tarnsim {

class SimBus {
public:
    SimBus(const Bench& bench, uint32_t seed);

    // Moves every deck to `nowMicros`; recording decks take in their input's picture.
    void AdvanceTo(int64_t nowMicros);
    // The reply of the device at the request's id, or nothing when no device has that id.
    std::optional<Reply> Answer(const WireBytes& request, int64_t nowMicros);

    SimDevice* FindById(int id);
    const std::vector<std::unique_ptr<SimDevice>>& Devices() const { return devices_; }
    const TapeLog& Tapes() const { return tapes_; }

private:
    // Recording is followed in steps this short, so a recorded frame is matched to the player
    // frame of the same moment within a quarter of a frame.
    static constexpr int64_t kRecordingStepMicros = 1'000'000 / 120;

    SimDevice* FindByBenchId(int benchId);
    SimDevice* DefaultInput(const SimDevice& recorder);
    bool AnyDeckRecording() const;
    void AdvanceStep(int64_t untilMicros);
    ReceivedFrame InputAt(size_t recorder, double playerPosition, int64_t atMicros) const;

    std::vector<std::unique_ptr<SimDevice>> devices_;
    std::vector<SimDevice*> inputs_;  // per device: whose picture its deck records, or null
    int64_t nowMicros_ = 0;
    TapeLog tapes_;
};

}  // namespace tarnsim
