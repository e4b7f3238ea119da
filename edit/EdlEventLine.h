// One event line of a CMX 3600 edit decision list: event number, reel, track, transition with
// its optional duration, then source in and out and record in and out.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "edit/EdlImport.h"

struct EdlEventLine {
    enum class Track { Video, AudioOnly };
    enum class Transition { Cut, Dissolve, Wipe, Key };

    QString number;
    QString reel;
    Track track = Track::Video;
    Transition transition = Transition::Cut;
    // List timecode texts in the program's mode, and their frame counts.
    QString sourceIn, sourceOut;
    int32_t sourceInFrames = 0, sourceOutFrames = 0;
    int32_t recordInFrames = 0;

    int32_t duration() const { return sourceOutFrames - sourceInFrames; }
};

// The event of a line that starts with a digit, in mode; nothing with the reason in *refusal
// when the line does not parse, a timecode has frames beyond the mode's rate, or an out point
// lies before its in point.
std::optional<EdlEventLine> ParseEdlEventLine(const QString& line, uint32_t mode,
                                              EdlRefusal* refusal);
