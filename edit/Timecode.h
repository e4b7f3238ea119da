// Tape positions and durations: conversions between timecode fields, signed frame counts and the
// "HH:MM:SS:FF" text, in the three counting modes of the decks (25 fps, 30 fps, 30 fps drop-frame).
#pragma once

#include <QString>
#include <cstdint>

// Counting mode of a timecode. Any value other than these behaves as Fps30.
enum TCMode : uint32_t {
    Fps25 = 0,
    Fps30 = 1,
    Fps30Drop = 2,
};

struct Timecode {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    int32_t frames = 0;
    uint32_t mode = Fps25;
    QString text;
};

// Frames per second of a mode: 25 for mode 0, else 30.
int FramesPerSecond(uint32_t mode);

// Signed frame count of the fields of tc in its mode. Counts beyond the 32-bit range wrap, as
// the decks' own 32-bit counters do.
int32_t TimecodeToFrames(const Timecode& tc);

// Fills tc's four fields from a frame count in tc's mode; a negative count gives all zeros.
void FramesToTimecode(int32_t frameCount, Timecode& tc);

// Parses tc.text ("HH:MM:SS:FF", or the same behind one leading character) into tc's fields and
// returns true with the frame count in *frameCount. A wrong length or a field that is not a
// decimal number returns false and leaves tc and *frameCount unchanged.
bool TimecodeFromText(Timecode& tc, int32_t* frameCount);

// Builds tc.text from tc's fields; drop-frame mode puts '.' before the frames.
void TimecodeToText(Timecode& tc);

// FramesToTimecode followed by TimecodeToText; returns the text.
QString FramesToText(int32_t frameCount, Timecode& tc);

// Convenience for callers that only want the text of a count in a mode.
QString FramesToText(int32_t frameCount, uint32_t mode);

// True when frameCount is at least 00:00:30:00 in mode: the earliest point at which scenes can
// be marked, cued and edited.
bool IsAtLeast30s(int32_t frameCount, uint32_t mode);
