// The deck command set: the deck's modes, the command bytes (request bytes 3 to 9) of the system
// and deck commands in one table, and the status values they answer with.
#pragma once

#include <optional>

#include "link/TarnFrame.h"

// Deck mode numbers: the deck's own transport states, plus 16 and 32 for slow and search
// speeds, which the deck reports as play or reverse play.
enum DeckMode : int {
    ModeEject = 0,
    ModeStop = 1,
    ModeFastForward = 2,
    ModeRewind = 3,
    ModePause = 5,
    ModePlay = 6,
    ModeReversePlay = 7,
    ModeRecordPause = 13,
    ModeRecord = 14,
    ModeNoDeck = 15,  // display only: nothing known about the deck yet
    ModeSlowForward = 22,
    ModeSlowReverse = 23,
    ModeForwardSearch = 38,
    ModeReverseSearch = 39,
};

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

// A deck that took a mode command without carrying it out yet ends the command with exactly this
// status: the command counts as accepted, and the mode shows at a later poll. As the verdict of a
// status query it means the deck gave no status.
constexpr uint8_t kStatusPending = 0x05;

}  // namespace tarncmd
