#include "engine/EffectCommands.h"

#include "edit/EffectCodes.h"

namespace effectcmd {

using namespace effectcodes;

namespace {

constexpr TarnCommand Cmd(uint8_t b1, uint8_t b2, uint8_t b3 = 0, uint8_t b4 = 0, uint8_t b5 = 0,
                          uint8_t b6 = 0, uint8_t b7 = 0) {
    return {b1, b2, b3, b4, b5, b6, b7};
}

}  // namespace

Family FamilyOf(int transition) {
    return transition < kFirstWipeTransition || transition == kLastTransition ? Family::A
                                                                              : Family::B;
}

std::optional<TarnCommand> Effect(int e) {
    static constexpr uint8_t kEffectByte[] = {0x60, 0x26, 0x21, 0x22, 0x25, 0x20};
    if (e < 0 || e > 5)
        return std::nullopt;
    return Cmd(0x18, 0x48, kEffectByte[e]);
}

std::optional<TarnCommand> Pattern(int transition) {
    if (!IsTransition(transition))
        return std::nullopt;
    switch (transition) {
        case 101:
        case 103:
        case 117:
            return Cmd(0x18, 0x45, 0x20, 0x7F);
        case 102:
            return Cmd(0x18, 0x45, 0x21);
        case 104:
            return Cmd(0x18, 0x45, 0x22, 0x23);
        default:
            break;
    }
    // 105..110 and 111..116 share their wipe patterns, in the same order.
    static constexpr uint8_t kWipeByte[] = {0x21, 0x27, 0x24, 0x26, 0x25, 0x28};
    return Cmd(0x18, 0x41, kWipeByte[(transition - kFirstWipeTransition) % kWipePatterns]);
}

std::optional<TarnCommand> ModeSelect(int transition) {
    if (!IsTransition(transition))
        return std::nullopt;
    if (transition < kFirstWipeTransition)
        return Cmd(0x18, 0x44, 0x20);
    if (transition == kLastTransition)
        return Cmd(0x18, 0x44, 0x20, 0x10);
    if (RunsOutEarly(transition))
        return Cmd(0x18, 0x40, 0x20);
    return Cmd(0x18, 0x40, 0x20, 0x10);
}

std::optional<TarnCommand> Preparation(int transition) {
    if (transition == 101 || transition == 104)
        return Cmd(0x18, 0x46, 0x20, 0x7F, 0x00, 0x00, 0x04);
    if (transition > kFirstTransition && RunsOutEarly(transition))
        return Cmd(0x18, 0x46, 0x20);
    return std::nullopt;
}

TarnCommand Arm(Family family, bool on) {
    return Cmd(0x18, family == Family::A ? 0x47 : 0x43, on ? 0x70 : 0x60);
}

TarnCommand RunIn(Family family) {
    return Cmd(0x18, family == Family::A ? 0x47 : 0x43, 0x65);
}

TarnCommand RunOut(Family family) {
    return Cmd(0x18, family == Family::A ? 0x47 : 0x43, 0x75);
}

TarnCommand Progress(Family family) {
    return Cmd(0x18, family == Family::A ? 0x47 : 0x43, 0x7E);
}

}  // namespace effectcmd
