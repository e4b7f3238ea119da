// The corrected edit points of a scene: the recorder is released into record the in-point
// correction before the in point and paused the out-point correction before the out point (or
// the preview beeps there), with the row's out transition run before or after the pause. While
// the recorder records between them it is asked now and then whether it is still there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class SceneTransitions;
struct EngineRun;

class EditPoints {
public:
    enum class Side { In, Out };

    EditPoints(EngineRun& run, SceneTransitions& transitions)
        : run_(run), transitions_(transitions) {}

    // Passes the edit point at position point once its moment has come: the in side goes to
    // step 4, the out side to step 7. Without record the preview beeps instead.
    bool Pass(int32_t point, Side side, bool record);
    // Runs the previous row's transition in as the in point plays (step 4 to 5).
    bool InTransition(int32_t target);
    // False once a recording recorder has left its status questions unanswered too long.
    bool RecorderStillThere();
    // When the recorder is due to stand after the current scene's pause; unknown when the pause
    // went out before the tape's rate was measured.
    std::optional<int64_t> RecorderStandsUs() const { return recorderStandsUs_; }

private:
    // The recorder's record or pause (a beep without recording): the edit point is passed.
    bool PassEditPoint(Side side, bool record);
    // Just after the recorder's pause went out.
    void NoteRecorderStands();
    bool RunEarlyOutTransition(double at, bool record);
    bool OutTransition(const std::function<bool()>& betweenPolls);
    // The pause (or the out run before it) goes out within a few exchanges.
    bool PauseMomentNear() const;
    // How far before the current scene's out point its first command goes, in frames.
    double FirstOutLeadFrames() const;
    // The moment the in transition's following must leave the link to the out point.
    int64_t InFollowDeadlineUs() const;

    EngineRun& run_;
    SceneTransitions& transitions_;
    // The recording recorder's last answer and the last time it was asked (clock milliseconds).
    int64_t recorderAnswerMs_ = 0;
    int64_t recorderAskedMs_ = 0;
    int recorderMissedAsks_ = 0;  // questions in a row it left unanswered
    std::optional<int64_t> recorderStandsUs_;
};
