// The simulator's tape report read back: the recorder's segments (which player frames arrived on
// which recorder frames, with the picture kind and the effect and transition state), joined into
// the scenes the recorder took in, and compared with the scenes of an edit list.
#pragma once

#include <QString>
#include <optional>
#include <vector>

class SceneList;

struct TapeReportSegment {
    int recorder = 0;
    int recFrom = 0, recTo = 0;  // recorder frames, the end exclusive
    int player = 0;
    int srcFrom = 0, srcTo = 0;  // player frames, the end exclusive
    QString picture;             // "play", "still" or "none"
    int effect = 0;
    int transition = 0;
    QString side;  // "in" or "out" while a transition runs, else empty
};

// One uninterrupted stretch of the player's tape on the recorder's tape.
struct RecordedScene {
    int recFrom = 0, recTo = 0;
    int srcFrom = 0, srcTo = 0;
};

// How far each recorded scene's source start and end lie from the in and out points of the
// list's scenes (frames; positive: late).
struct SceneErrors {
    int maxError = 0;               // the largest, either way
    double meanError = 0.0;         // the mean of their sizes
    double meanSigned = 0.0;        // the mean with their signs: a lean to late or early
    int plainBeforeTransition = 0;  // plain frames recorded before an incoming transition
    std::vector<std::pair<int, int>> perScene;  // in-point and out-point error of each scene
};

class TapeReport {
public:
    // The JSON as the simulator writes it; nothing with a message in *error when it is not one.
    static std::optional<TapeReport> Parse(const QByteArray& json, QString* error);

    const std::vector<TapeReportSegment>& Segments() const { return segments_; }
    // Played segments that continue each other on both tapes, joined, in recorder order.
    std::vector<RecordedScene> RecordedScenes() const;
    // Plain frames at the start of each recorded scene that an incoming transition follows.
    std::vector<int> PlainFramesBeforeTransitions() const;
    // Compares the recorded scenes in order with the list's scenes that have a duration; nothing
    // when their numbers differ.
    std::optional<SceneErrors> CompareWith(const SceneList& list) const;

private:
    std::vector<TapeReportSegment> segments_;
};
