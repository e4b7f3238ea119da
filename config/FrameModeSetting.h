// [Setup] FrameMode as the program and the command-line tools use it: the timecode mode of the
// list (0: 25 fps, 1: 30 fps, 2: 30 fps drop-frame).
#pragma once

#include <cstdint>

class SettingsFile;
class SettingsReporter;

// 0 when the key is missing or not a number (the settings file reports the latter); a number
// outside 0 to 2 is reported to `reporter` and read as 1, the 30 fps most decks count in.
uint32_t ReadFrameModeSetting(const SettingsFile& settings, SettingsReporter& reporter);
