// What an interrupted Auto Rec leaves to go on from: the last row whose scene is complete on the
// recorder's tape, the recorder's position where that scene ends, where the run began on the
// tape (so that Review after a resumed run plays all of it), and a fingerprint of the list, so
// that a list changed since is noticed. The program keeps it with the list in memory and in the
// program folder's settings, so it outlives the program.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "edit/Scene.h"

class SceneList;
class SettingsFile;

struct ResumePoint {
    QString fingerprint{};       // ListFingerprint of the list recorded; empty: nothing to resume
    int lastRow = 0;             // the last row complete on tape; 0 when no scene is yet
    int32_t recorderAt = 0;      // the recorder's counter where that scene ends (or the run began)
    int32_t recordingStart = 0;  // the recorder's counter where the run began
    // A point read from a damaged [Resume] (edited by hand, cut short): the value at fault, as
    // "Row=2147483647". Such a point is refused, never followed.
    QString fault{};

    bool IsEmpty() const { return fingerprint.isEmpty() && fault.isEmpty(); }
    bool Damaged() const { return !fault.isEmpty(); }
    bool operator==(const ResumePoint&) const = default;
};

// A digest of what decides the recording: the timecode mode and per row its in and out points,
// effect, transition and tape-change mark. A memo does not change what lands on tape.
QString ListFingerprint(const std::vector<Scene>& rows, uint32_t timecodeMode);
QString ListFingerprint(const SceneList& list);

// The resume point in the settings file ([Resume] of cw20.ini), its four values written in one
// replacement of the file, so that a program killed at any moment leaves the old point or the
// new one whole. Storing an empty point clears it; false when the file could not be written.
// A missing point reads as empty, a damaged one as Damaged().
ResumePoint LoadResumePoint(const SettingsFile& settings);
bool StoreResumePoint(const SettingsFile& settings, const ResumePoint& point);

// Why a resume cannot start from a point with a list, checked before any deck moves.
enum class ResumeRefusal {
    None,
    NothingToResume,  // no point kept, or every scene after it is on tape
    ListChanged,      // the list is not the one the run recorded
    Damaged,          // a value of the point is beyond what a list or a counter can hold
};
ResumeRefusal CheckResume(const ResumePoint& point, const SceneList& list);
// The value at fault of a Damaged point ("Row=2147483647"), empty for any other.
QString ResumePointFault(const ResumePoint& point, const SceneList& list);
