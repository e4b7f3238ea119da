// Which transport lamps of the controller burn for each deck mode: the stop, wind, play, record,
// slow and pause keys each have a lit and an unlit picture, and play has a reverse-play form.
#pragma once

#include <cstdint>
#include <optional>

enum class Lamp : uint8_t {
    Rev = 0,
    Play,
    FF,
    Rec,
    SlowR,
    Pause,
    Slow,
    Stop,
};
inline constexpr int kLampCount = 8;

struct LampSet {
    uint8_t lit = 0;            // one bit per Lamp
    bool playReversed = false;  // the play lamp shows its reverse-play picture

    bool IsLit(Lamp lamp) const { return (lit >> static_cast<int>(lamp)) & 1U; }
    bool operator==(const LampSet&) const = default;
};

// The lamps of a deck mode; none for a mode that has no lamp pattern (the lamps then stay as
// they are).
std::optional<LampSet> LampsForMode(int mode);
