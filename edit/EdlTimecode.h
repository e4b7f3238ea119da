// Timecodes as an edit decision list writes them: two digits per field, ':' between them and ';'
// before the frames when the list counts in drop frame (also read: '.' and ':' there).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The EDL form of a list timecode text ("HH:MM:SS:FF" or "HH:MM:SS.FF") in mode.
QString EdlTimecodeText(const QString& listText, uint32_t mode);

// The EDL form of a frame count in mode; nothing when it needs more than two digits of hours.
std::optional<QString> EdlTimecodeOfFrames(int64_t frames, uint32_t mode);

enum class EdlTimecodeError { None, NotATimecode, FramesBeyondRate, SkippedDropFrameLabel };

// A timecode token of an EDL as a list text in mode (its frame separator set by the list), or
// the reason it is not one: anything but two digits per field with ':' between hours, minutes
// and seconds and ':', ';' or '.' before the frames; minutes or seconds beyond 59; frames at or
// beyond the mode's rate; a label that drop-frame counting skips (frames 00 and 01 of a minute
// not divisible by ten) when the token is drop frame (';' or '.') or the mode is.
std::optional<QString> ListTimecodeOfEdl(const QString& token, uint32_t mode,
                                         EdlTimecodeError* error);

// Frame count of a list timecode text (as ListTimecodeOfEdl gives) in mode.
int32_t FramesOfListText(const QString& listText, uint32_t mode);
