// What the recorder really took in of one scene of an Auto Rec: its counter where the scene
// began and where the recorder stood after the scene's pause, against the scene's duration.
// The engine keeps one per recorded scene, in the order of the run (Auto Rec's verification
// report, and a resumed run's starting point). A scene recorded again over a take that landed
// off keeps how far off each earlier take landed, and what a longer one left after it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

// How far one take of a scene landed off: its length against the scene's duration, and where it
// began against where the scene before it ended (positive: later on the tape).
struct TakeError {
    int32_t lengthFrames = 0;
    int32_t seamFrames = 0;

    bool operator==(const TakeError&) const = default;
    bool Within(int toleranceFrames) const {
        return std::abs(lengthFrames) <= toleranceFrames && std::abs(seamFrames) <= toleranceFrames;
    }
    // Off the same way as other, within the tolerance.
    bool Near(const TakeError& other, int toleranceFrames) const {
        return TakeError{lengthFrames - other.lengthFrames, seamFrames - other.seamFrames}.Within(
            toleranceFrames);
    }
};

// When a scene is recorded again: while a take lands further off than the tolerance, at most
// `attempts` times, and only with a recorder whose counter can be read.
struct RetakeRule {
    int attempts = 0;
    int toleranceFrames = 1;
    bool recorderReadable = true;

    bool Active() const { return attempts > 0 && recorderReadable; }
};

struct SceneCheck {
    int row = 0;                 // the scene's row in the list
    int32_t expectedFrames = 0;  // the scene's duration
    // The recorder's counter at the seam before the scene and where it stood after the scene's
    // pause; unknown where it could not be read (edit terminal alone, no answer, no counter).
    std::optional<int32_t> startPosition;
    std::optional<int32_t> endPosition;
    // How far the recorder stood from where the scene before ended when this scene began; 0
    // where that was not looked at.
    int32_t seamFrames = 0;
    bool resumed = false;  // the first scene of a resumed run: it began at the resume point
    int scene = 0;         // its number among the list's scenes that record, from 1, in any run
    // The takes recorded over by a retake, first first; empty for a scene recorded once.
    std::vector<TakeError> earlierTakes;
    // No scene of the list follows it on its tape: nothing records over what lies after it.
    bool endsItsTape = false;
    // The run ended while this scene was being recorded again: the tape holds this take, whole
    // or in part, under the unfinished retake.
    bool underRetake = false;

    // Both ends known: the scene's length on tape can be measured.
    bool Readable() const { return startPosition && endPosition; }
    // Only when Readable().
    int32_t RecordedFrames() const { return *endPosition - *startPosition; }
    // Frames recorded beyond the scene's duration (negative: fewer); only when Readable().
    int32_t Difference() const { return RecordedFrames() - expectedFrames; }
    // This take's error; only when Readable().
    TakeError Error() const { return {Difference(), seamFrames}; }
    // Readable and further off than the tolerance in length or at its seam.
    bool Off(int toleranceFrames) const { return Readable() && !Error().Within(toleranceFrames); }
    int Attempts() const { return static_cast<int>(earlierTakes.size()) + 1; }
    // Its last take was read whole and stands on the tape: what the decks' timing did to it.
    bool Measured() const { return Readable() && !underRetake; }

    // Frames of an earlier, longer take that stay on the tape after the scene's last take.
    struct Strays {
        int32_t frames = 0;
        int take = 0;  // which take left them, from 1
    };
    // Only for the last scene on a tape, whose end no next scene records over; nothing when
    // every earlier take ended before the last one did.
    std::optional<Strays> StraysAfterEnd() const {
        if (!endsItsTape || !Measured())
            return std::nullopt;
        // Every take of a scene began at the same seam, give or take its seam error: where each
        // ended lies that error plus its own length past the seam.
        const auto endPastSeam = [this](const TakeError& take) {
            return take.seamFrames + expectedFrames + take.lengthFrames;
        };
        const int32_t lastEnd = endPastSeam(Error());
        std::optional<Strays> furthest;
        for (size_t i = 0; i < earlierTakes.size(); ++i) {
            const int32_t past = endPastSeam(earlierTakes[i]) - lastEnd;
            if (past > 0 && (!furthest || past > furthest->frames))
                furthest = Strays{past, static_cast<int>(i) + 1};
        }
        return furthest;
    }
};
