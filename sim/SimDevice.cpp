#include "sim/SimDevice.h"

namespace tarnsim {

SimDevice::SimDevice(const DeviceSpec& spec, uint32_t seed) : spec_(spec), system_(spec_) {
    if (spec_.deck)
        deck_ = std::make_unique<DeckPart>(*spec_.deck, spec_.timecodeMode, seed);
    if (spec_.effect)
        effect_ = std::make_unique<EffectPart>(*spec_.effect);
}

Reply SimDevice::Answer(const CommandBytes& command, int64_t now,
                        const std::function<bool(int)>& idFree) {
    const uint8_t group = command[0];
    if (SystemPart::IsSystemGroup(group)) {
        const bool wasOn = system_.PowerOn();
        const Reply reply = system_.Answer(command, idFree);
        if (wasOn != system_.PowerOn())
            SetPower(system_.PowerOn());
        return reply;
    }
    const bool forDeck = deck_ && DeckPart::IsDeckGroup(group);
    const bool forEffect = effect_ && EffectPart::IsEffectGroup(group);
    if (!forDeck && !forEffect)
        return Reply{status::kRefused, {}};
    // A device in standby hears deck and effect commands but cannot carry them out.
    if (!system_.PowerOn())
        return Reply{status::kNotReady, {}};
    return forDeck ? deck_->Answer(command, now, terminalTarget_) : effect_->Answer(command);
}

void SimDevice::SetPower(bool on) {
    system_.SetPower(on);
    if (!on && deck_ && deck_->Model().Mode() != deckmode::kEject)
        deck_->Model().ForceMode(deckmode::kStop);
}

}  // namespace tarnsim
