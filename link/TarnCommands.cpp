#include "link/TarnCommands.h"

#include <array>

namespace tarncmd {

namespace {

struct ModeRow {
    int mode;
    TarnCommand command;
};

constexpr std::array<ModeRow, 13> kModeTable{{
    {0, {0x08, 0x41, 0x60, 0, 0, 0, 0}},   // eject
    {1, {0x08, 0x44, 0x60, 0, 0, 0, 0}},   // stop
    {2, {0x08, 0x44, 0x75, 0, 0, 0, 0}},   // fast forward
    {3, {0x08, 0x44, 0x65, 0, 0, 0, 0}},   // rewind
    {5, {0x08, 0x43, 0x6D, 0, 0, 0, 0}},   // pause (still)
    {6, {0x08, 0x43, 0x75, 0, 0, 0, 0}},   // play
    {7, {0x08, 0x43, 0x65, 0, 0, 0, 0}},   // reverse play
    {13, {0x08, 0x42, 0x6D, 0, 0, 0, 0}},  // record pause
    {14, {0x08, 0x42, 0x70, 0, 0, 0, 0}},  // record
    {22, {0x08, 0x43, 0x20, 0, 0, 0, 0}},  // slow forward
    {23, {0x08, 0x43, 0x24, 0, 0, 0, 0}},  // slow reverse
    {38, {0x08, 0x43, 0x21, 0, 0, 0, 0}},  // forward search
    {39, {0x08, 0x43, 0x25, 0, 0, 0, 0}},  // reverse search
}};

}  // namespace

std::optional<TarnCommand> ModeCommand(int mode) {
    for (const ModeRow& row : kModeTable) {
        if (row.mode == mode)
            return row.command;
    }
    return std::nullopt;
}

}  // namespace tarncmd
