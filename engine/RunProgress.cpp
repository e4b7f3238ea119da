#include "engine/RunProgress.h"

#include <algorithm>

namespace {

bool Records(const Scene& row) {
    return !row.tapeChange && row.durationFrames > 0;
}

}  // namespace

RunProgressPlan::RunProgressPlan(const std::vector<Scene>& rows) {
    for (const Scene& row : rows) {
        sceneNumber_.push_back(Records(row) ? ++scenes_ : scenes_);
        framesBefore_.push_back(totalFrames_);
        duration_.push_back(Records(row) ? row.durationFrames : 0);
        totalFrames_ += duration_.back();
    }
}

RunProgress RunProgressPlan::At(int row, int32_t recorded) const {
    if (row < 0 || row >= static_cast<int>(sceneNumber_.size()))
        return {};
    const auto i = static_cast<size_t>(row);
    const int64_t done = framesBefore_[i] + std::clamp<int32_t>(recorded, 0, duration_[i]);
    RunProgress progress;
    progress.scene = sceneNumber_[i];
    progress.scenes = scenes_;
    progress.percent = totalFrames_ > 0 ? static_cast<int>(done * 100 / totalFrames_) : 100;
    progress.framesLeft = static_cast<int32_t>(totalFrames_ - done);
    return progress;
}
