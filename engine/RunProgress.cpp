#include "engine/RunProgress.h"

#include <algorithm>

namespace {

bool Records(const Scene& row) {
    return !row.tapeChange && row.durationFrames > 0;
}

}  // namespace

RunProgressPlan::RunProgressPlan(const std::vector<Scene>& rows, int framesPerSecond)
    : framesPerSecond_(std::max(framesPerSecond, 1)) {
    for (const Scene& row : rows) {
        sceneNumber_.push_back(Records(row) ? ++scenes_ : scenes_);
        framesBefore_.push_back(totalFrames_);
        duration_.push_back(Records(row) ? row.durationFrames : 0);
        totalFrames_ += duration_.back();
    }
}

int64_t RunProgressPlan::FramesDone(int row, int32_t recorded) const {
    const auto i = static_cast<size_t>(row);
    return framesBefore_[i] + std::clamp<int32_t>(recorded, 0, duration_[i]);
}

int RunProgressPlan::SceneNumber(int row) const {
    return row >= 0 && row < static_cast<int>(sceneNumber_.size())
               ? sceneNumber_[static_cast<size_t>(row)]
               : 0;
}

int RunProgressPlan::ScenesFinished(int row, int32_t recorded) const {
    const auto i = static_cast<size_t>(row);
    const bool inScene = duration_[i] > 0 && recorded < duration_[i];
    return inScene ? sceneNumber_[i] - 1 : sceneNumber_[i];
}

RunProgress RunProgressPlan::At(int row, int32_t recorded, int retake, int64_t nowMs) {
    if (row < 0 || row >= static_cast<int>(sceneNumber_.size()))
        return {};
    const int64_t done = FramesDone(row, recorded);
    if (startMs_ < 0) {
        startMs_ = nowMs;
        doneAtStart_ = done;
        firstScene_ = ScenesFinished(row, recorded) + 1;
    }
    RunProgress progress;
    progress.scene = sceneNumber_[static_cast<size_t>(row)];
    progress.scenes = scenes_;
    progress.percent = totalFrames_ > 0 ? static_cast<int>(done * 100 / totalFrames_) : 100;
    progress.framesLeft = static_cast<int32_t>(totalFrames_ - done);
    progress.retake = retake;
    if (PassMilestone(row, recorded, retake)) {
        estimateMs_ = EstimateMs(row, recorded, progress.framesLeft, nowMs);
        estimatedAtMs_ = nowMs;
    }
    // The frames left take at least their own length to play, however fast the run went so far.
    if (estimateMs_)
        progress.msLeft = std::max(*estimateMs_ - (nowMs - estimatedAtMs_),
                                   int64_t{progress.framesLeft} * 1000 / framesPerSecond_);
    return progress;
}

bool RunProgressPlan::PassMilestone(int row, int32_t recorded, int retake) {
    const int whole = ScenesFinished(row, recorded);
    const bool retakeBegins = retake > retake_;
    if (retakeBegins)
        replacedFrames_ += duration_[static_cast<size_t>(row)];
    // A scene's cue is part of the pace measured when the scene before it became whole: it
    // counts that estimate down, and only a whole scene or a retake's new frames change it.
    const bool passed = retakeBegins || whole != scenesWhole_;
    retake_ = retake;
    scenesWhole_ = whole;
    return passed;
}

std::optional<int64_t> RunProgressPlan::EstimateMs(int row, int32_t recorded, int64_t framesLeft,
                                                   int64_t nowMs) const {
    const int64_t recordedInRun = FramesDone(row, recorded) - doneAtStart_ + replacedFrames_;
    const bool takeWhole = ScenesFinished(row, recorded) >= firstScene_ || replacedFrames_ > 0;
    if (!takeWhole || recordedInRun <= 0)
        return std::nullopt;
    return (nowMs - startMs_) * framesLeft / recordedInRun;
}

QString RealTimeText(int64_t ms) {
    const qlonglong seconds = (std::max<int64_t>(ms, 0) + 999) / 1000;
    const QLatin1Char zero('0');
    const QString minutesAndSeconds = QStringLiteral("%1:%2")
                                          .arg(seconds / 60 % 60, seconds >= 3600 ? 2 : 1, 10, zero)
                                          .arg(seconds % 60, 2, 10, zero);
    return seconds >= 3600 ? QStringLiteral("%1:").arg(seconds / 3600) + minutesAndSeconds
                           : minutesAndSeconds;
}
