// The command bytes of the player's effect function (command group 0x18): picture effects,
// transition patterns, preparation, mode select, arming, running, progress and capability
// queries, in one table, with the family each transition belongs to.
#pragma once

#include <optional>

#include "link/TarnFrame.h"

namespace effectcmd {

// Transitions come in two families with their own arm, run and progress commands: family A is
// 101..104 and 117, family B 105..116. Codes below 105 count as family A, so "none" does too.
enum class Family { A, B };
Family FamilyOf(int transition);

// The picture effect e (0 = none, 1..5); nothing for other codes.
std::optional<TarnCommand> Effect(int e);
// For transitions 101..117; nothing for other codes.
std::optional<TarnCommand> Pattern(int transition);
std::optional<TarnCommand> ModeSelect(int transition);
// Only 101..110 are prepared; nothing for the others.
std::optional<TarnCommand> Preparation(int transition);

TarnCommand Arm(Family family, bool on);
TarnCommand RunIn(Family family);
TarnCommand RunOut(Family family);
TarnCommand Progress(Family family);

constexpr TarnCommand kWipeOutStart{0x18, 0x49, 0x70, 0, 0, 0, 0};
// The capability query; the page (0 = transitions, 1..5 = effects) goes in kCapsPageByte.
constexpr TarnCommand kCapsQuery{0x18, 0x4C, 0x00, 0, 0, 0, 0};
constexpr int kCapsPageByte = 5;  // request byte of the third command byte

}  // namespace effectcmd
