#include "controller/LampTable.h"

#include <initializer_list>

#include "link/TarnVtr.h"

namespace {

LampSet Lit(std::initializer_list<Lamp> lamps, bool playReversed = false) {
    LampSet set;
    for (Lamp lamp : lamps)
        set.lit |= static_cast<uint8_t>(1U << static_cast<int>(lamp));
    set.playReversed = playReversed;
    return set;
}

}  // namespace

std::optional<LampSet> LampsForMode(int mode) {
    // Slow and search run at a play speed, so the play lamp burns with them, reversed for the
    // backward speeds.
    switch (mode) {
        case ModeEject:
        case ModeStop:
            return Lit({Lamp::Stop});
        case ModeFastForward:
            return Lit({Lamp::FF});
        case ModeRewind:
            return Lit({Lamp::Rev});
        case ModePause:
            return Lit({Lamp::Pause});
        case ModePlay:
            return Lit({Lamp::Play});
        case ModeReversePlay:
            return Lit({Lamp::Play}, true);
        case ModeRecordPause:
            return Lit({Lamp::Rec, Lamp::Pause});
        case ModeRecord:
            return Lit({Lamp::Play, Lamp::Rec});
        case ModeSlowForward:
            return Lit({Lamp::Play, Lamp::Slow});
        case ModeSlowReverse:
            return Lit({Lamp::Play, Lamp::SlowR}, true);
        case ModeForwardSearch:
            return Lit({Lamp::Play, Lamp::FF});
        case ModeReverseSearch:
            return Lit({Lamp::Play, Lamp::Rev}, true);
        default:
            return std::nullopt;
    }
}
