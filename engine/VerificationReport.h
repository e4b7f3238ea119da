// The verification report of an Auto Rec: per scene the expected and the recorded length, their
// difference in frames and the recorder's position at the seam after it, as JSON (the table the
// user reads is VerificationTable's). When enough measured scenes came out longer or shorter by
// the same amount, the out-point correction that would have made them agree; an overall
// verdict, and why the run stopped when it did not finish. Scenes recorded again say how far off
// each take landed; the retakes' rule says which scenes are still off.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "engine/SceneCheck.h"
#include "engine/StopReason.h"

class VerificationReport {
public:
    VerificationReport(std::vector<SceneCheck> scenes, uint32_t timecodeMode, int outCorrection,
                       StopReason stopReason = {}, RetakeRule retakes = {});

    // All the scenes on tape within a frame of their length, some off by more, or not known
    // (a scene whose length could not be read, or none at all).
    enum class Verdict { WithinOneFrame, SomeOff, Unknown };
    // A scene more than a frame longer or shorter than it should be, or as far from its seam.
    static bool IsOff(const SceneCheck& scene);
    // A scene further off than the retakes allow, whether or not it was recorded again.
    bool StillOff(const SceneCheck& scene) const;
    const RetakeRule& Retakes() const { return retakes_; }
    // Retakes were asked for but the recorder's counter cannot be read (the edit terminal alone).
    bool RetakesUnavailable() const { return retakes_.attempts > 0 && !retakes_.recorderReadable; }

    const std::vector<SceneCheck>& Scenes() const { return scenes_; }
    const StopReason& Stop() const { return stopReason_; }
    Verdict OverallVerdict() const;
    QByteArray Json() const;

    // What a correction rests on: the measured scenes (their last take read whole and on the
    // tape) and the mean of their differences.
    struct Evidence {
        double meanDifference = 0;
        int scenes = 0;
    };
    // Only from enough measured scenes that agree within a frame and are off by a frame or more
    // on average; nothing otherwise.
    std::optional<Evidence> CorrectionEvidence() const;
    // The out-point correction that makes the recorded lengths right, within the options' range.
    std::optional<int> SuggestedOutCorrection() const;
    int OutCorrection() const { return outCorrection_; }
    uint32_t TimecodeMode() const { return mode_; }

private:
    std::vector<SceneCheck> scenes_;
    uint32_t mode_;
    int outCorrection_;
    StopReason stopReason_;
    RetakeRule retakes_;
};

// How far off each take of a retaken scene landed, first first, the last take included: "+4, 0",
// a seam error after a slash ("0/+2").
QString TakeErrorsText(const SceneCheck& scene);
