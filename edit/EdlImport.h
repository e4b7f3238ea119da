// What reading an edit decision list gives: the rows of the new edit list and a report of what
// was made of the file, or the reason the file was refused and the line at fault.
#pragma once

#include <vector>

#include "edit/Scene.h"

enum class EdlRefusal {
    None,
    Unreadable,             // the file cannot be opened
    TooLarge,               // larger than kMaxEdlBytes
    EventLine,              // an event line that does not parse
    FramesBeyondRate,       // a timecode with more frames than the program's counting mode has
    SkippedDropFrameLabel,  // a drop-frame timecode that drop-frame counting never names
    OutBeforeIn,            // an out point before its in point
    NoVideoEvent,           // nothing in the file would become a scene
};

// Largest EDL read: far above the longest list an editor writes (a 9999-event EDL with its
// comments takes about 3 MB), small enough to read at once.
constexpr qsizetype kMaxEdlBytes = 8 * 1024 * 1024;

struct EdlImportReport {
    enum class FrameCountMode { Absent, Drop, NonDrop };

    int scenes = 0;
    int tapes = 0;  // tape-change rows, the first tape's row 0 among them
    // Events that made no scene, by reason.
    int audioOnlyEvents = 0;
    int eventsWithoutDuration = 0;
    int blackEvents = 0;
    int keyEvents = 0;
    // Video events that did not fit into the list.
    int eventsLeftOut = 0;
    // Lines that carry something the list cannot keep (blank lines carry nothing: not counted).
    int commentLines = 0;
    int speedLines = 0;
    int splitLines = 0;
    int otherLines = 0;
    FrameCountMode frameCountMode = FrameCountMode::Absent;
    // The file's FCM line names another counting than the program's current mode.
    bool frameCountModeDiffers = false;
};

struct EdlImport {
    EdlRefusal refusal = EdlRefusal::None;
    int refusedLine = 0;  // from 1; 0 when the refusal concerns the whole file
    // Row 0 (the first tape), then scenes and tape changes; at most the list's capacity.
    std::vector<Scene> rows;
    EdlImportReport report;

    bool refused() const { return refusal != EdlRefusal::None; }
};
