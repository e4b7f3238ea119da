// One row of the edit list: a scene of the player's tape (in point, out point, duration, memo,
// picture effect, transition into the next row) or a tape-change entry, together with the marks
// that the list view draws (selection, point marks). SceneCopy is the part of a row that the clip
// and drag buffers carry.
#pragma once

#include <QString>
#include <cstdint>

inline const QString kZeroTimecodeText = QStringLiteral("00:00:00:00");

// Bits of Scene::pointMarks: which edit point the controller window is working on.
enum PointMark : uint32_t {
    kInPointMarked = 0x1,
    kOutPointMarked = 0x2,
};

struct SceneCopy {
    bool tapeChange = false;
    int32_t durationFrames = 0;
    QString inText = kZeroTimecodeText;
    QString outText = kZeroTimecodeText;
    QString durationText = kZeroTimecodeText;
    QString memo;
    int32_t effect = 0;
    int32_t transition = 0;
    int32_t inFrames = 0;
    int32_t outFrames = 0;

    bool operator==(const SceneCopy&) const = default;
};

struct Scene {
    QString inText = kZeroTimecodeText;
    QString outText = kZeroTimecodeText;
    QString durationText = kZeroTimecodeText;
    QString memo;
    bool selected = false;       // committed selection
    bool shownSelected = false;  // drawn as selected; runs ahead of `selected` during a gesture
    int32_t effect = 0;          // 0 none, 1..5 a picture effect
    int32_t transition = 0;      // 0 or 100 none, 101..117 a transition into the next row
    bool tapeChange = false;
    int32_t inFrames = 0;
    int32_t outFrames = 0;
    int32_t durationFrames = 0;
    uint32_t pointMarks = 0;  // PointMark bits

    bool operator==(const Scene&) const = default;

    SceneCopy Copy() const {
        return {tapeChange, durationFrames, inText,     outText,  durationText,
                memo,       effect,         transition, inFrames, outFrames};
    }

    // Takes the scene values of a copy; the marks of this row stay as they are.
    void TakeValues(const SceneCopy& copy) {
        tapeChange = copy.tapeChange;
        durationFrames = copy.durationFrames;
        inText = copy.inText;
        outText = copy.outText;
        durationText = copy.durationText;
        memo = copy.memo;
        effect = copy.effect;
        transition = copy.transition;
        inFrames = copy.inFrames;
        outFrames = copy.outFrames;
    }
};
