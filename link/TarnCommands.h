// The command bytes (request bytes 3 to 9) of the system and deck commands, in one table.
#pragma once

#include <optional>

#include "link/TarnFrame.h"

namespace tarncmd {

// System commands, understood by every device.
constexpr TarnCommand kPowerOn{0x3E, 0x40, 0x70, 0, 0, 0, 0};
constexpr TarnCommand kPowerOff{0x3E, 0x40, 0x60, 0, 0, 0, 0};
constexpr TarnCommand kPowerQuery{0x3E, 0x4E, 0x20, 0, 0, 0, 0};  // data byte 0 bit 0 = on
constexpr TarnCommand kPresenceQuery{0x7C, 0x4E, 0x20, 0, 0, 0, 0};
constexpr TarnCommand kCategoryQuery{0x7C, 0x49, 0x00, 0, 0, 0, 0};
constexpr TarnCommand kMakerQuery{0x7C, 0x45, 0x00, 0, 0, 0, 0};
constexpr TarnCommand kNameFirstQuery{0x7C, 0x4C, 0x00, 0, 0, 0, 0};
constexpr TarnCommand kNameSecondQuery{0x7C, 0x4D, 0x00, 0, 0, 0, 0};
constexpr TarnCommand kChangeId{0x7C, 0x41, 0x00, 0, 0, 0, 0};
constexpr int kChangeIdNewIdByte = 5;  // request byte that carries the new id

// Deck commands.
constexpr TarnCommand kStatusQuery{0x08, 0x4E, 0x20, 0, 0, 0, 0};
constexpr TarnCommand kSpeedQuery{0x48, 0x4E, 0x20, 0, 0, 0, 0};
constexpr TarnCommand kStepForward{0x48, 0x46, 0x75, 0x01, 0, 0, 0};
constexpr TarnCommand kStepBack{0x48, 0x46, 0x65, 0x01, 0, 0, 0};
constexpr TarnCommand kRecordPause{0x08, 0x42, 0x6D, 0, 0, 0, 0};
constexpr TarnCommand kRecord{0x08, 0x42, 0x70, 0, 0, 0, 0};
constexpr TarnCommand kTerminalRecordPause{0x48, 0x50, 0x60, 0, 0, 0, 0};
constexpr TarnCommand kTerminalRecord{0x48, 0x50, 0x70, 0, 0, 0, 0};

// The command that puts a deck into mode (0 eject, 1 stop, 2 FF, 3 rewind, 5 pause, 6 play,
// 7 reverse play, 13 rec-pause, 14 record, 22/23 slow, 38/39 search); none for other modes.
std::optional<TarnCommand> ModeCommand(int mode);

}  // namespace tarncmd
