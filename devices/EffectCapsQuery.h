// The six capability words of an effect device (word 0: transitions, words 1 to 5: effects 1 to
// 5; a set bit means "not available") and the question the capability database puts to the
// player itself when its model is not in the capability file.
#pragma once

#include <array>
#include <cstdint>

using CapabilityWords = std::array<int32_t, 6>;

class EffectCapsQuery {
public:
    virtual ~EffectCapsQuery() = default;

    // Asks the device at deviceId for its capability words; false when it cannot tell (no such
    // device, no effect function, no answer). words is only written on success.
    virtual bool QueryEffectCaps(int deviceId, CapabilityWords& words) = 0;
};
