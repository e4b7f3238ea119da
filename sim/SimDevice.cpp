#include "sim/SimDevice.h"

#include "sim/CounterTime.h"

namespace tarnsim {

SimDevice::SimDevice(const DeviceSpec& spec, uint32_t seed) : spec_(spec), system_(spec_) {
    if (spec_.deck)
        deck_ = std::make_unique<DeckPart>(*spec_.deck, spec_.timecodeMode, seed);
    if (spec_.effect)
        effect_ = std::make_unique<EffectPart>(*spec_.effect,
                                               CounterTime::FramesPerSecond(spec_.timecodeMode));
}

Reply SimDevice::Answer(const CommandBytes& command, int64_t now,
                        const std::function<bool(int)>& idFree) {
    const uint8_t group = command[0];
    if (SystemPart::IsSystemGroup(group)) {
        const Reply reply = system_.Answer(command, idFree, now);
        StopTransportIfOff();
        return reply;
    }
    const bool forDeck = deck_ && DeckPart::IsDeckGroup(group);
    const bool forEffect = effect_ && EffectPart::IsEffectGroup(group);
    if (!forDeck && !forEffect)
        return Reply{status::kRefused, {}};
    // A device in standby, or still powering up, hears deck and effect commands but cannot
    // carry them out.
    if (!system_.Ready(now))
        return Reply{status::kNotReady, {}};
    return forDeck ? deck_->Answer(command, now, terminalTarget_) : effect_->Answer(command, now);
}

void SimDevice::SetPower(bool on) {
    system_.SetPower(on);
    StopTransportIfOff();
}

void SimDevice::StopTransportIfOff() {
    if (!system_.PowerOn() && deck_ && deck_->Model().Mode() != deckmode::kEject)
        deck_->Model().ForceMode(deckmode::kStop);
}

}  // namespace tarnsim
