// One simulated device on the bus: its system part, and the deck and effect parts the bench
// gives it. Routes each command to the part of its command group and refuses the rest.
#pragma once

#include <functional>
#include <memory>

#include "sim/Bench.h"
#include "sim/DeckPart.h"
#include "sim/EffectPart.h"
#include "sim/SystemPart.h"

namespace tarnsim {

class SimDevice {
public:
    SimDevice(const DeviceSpec& spec, uint32_t seed);
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    Reply Answer(const CommandBytes& command, int64_t nowMicros,
                 const std::function<bool(int)>& idFree);

    const DeviceSpec& Spec() const { return spec_; }
    int Id() const { return system_.Id(); }
    bool PowerOn() const { return system_.PowerOn(); }
    // Switching off stops the transport, as pulling a deck's power does.
    void SetPower(bool on);

    DeckPart* Deck() { return deck_.get(); }
    const DeckPart* Deck() const { return deck_.get(); }
    void SetEditTerminalTarget(DeckPart* target) { terminalTarget_ = target; }
    EffectPart* Effect() { return effect_.get(); }
    const EffectPart* Effect() const { return effect_.get(); }
    // The effect and transition state of the device's picture output.
    EffectOutput Output(int64_t nowMicros) const {
        return effect_ ? effect_->Output(nowMicros) : EffectOutput{};
    }

private:
    void StopTransportIfOff();

    const DeviceSpec spec_;
    SystemPart system_;
    std::unique_ptr<DeckPart> deck_;
    std::unique_ptr<EffectPart> effect_;
    DeckPart* terminalTarget_ = nullptr;
};

}  // namespace tarnsim
