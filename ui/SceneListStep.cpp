#include "ui/SceneListStep.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kTrimStepId = 1;

// The row and the point a trim works on: the current row and its marked point.
std::pair<int, uint32_t> TrimmedPoint(const SceneListState& state) {
    const int row = std::clamp(state.current, 0, static_cast<int>(state.rows.size()) - 1);
    return {row, state.rows[static_cast<size_t>(row)].pointMarks};
}

}  // namespace

SceneListStep::SceneListStep(SceneList& list, EditStep step, SceneListState before,
                             SceneListState after, qint64 at, const QString& name)
    : list_(list), step_(step), before_(std::move(before)), after_(std::move(after)), at_(at) {
    setText(name);
}

void SceneListStep::undo() {
    list_.RestoreState(before_);
}

void SceneListStep::redo() {
    if (std::exchange(alreadyDone_, false))
        return;
    list_.RestoreState(after_);
}

int SceneListStep::id() const {
    return step_ == EditStep::Trim ? kTrimStepId : -1;
}

bool SceneListStep::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const SceneListStep*>(other);
    // Only a trim that starts where this one ended, on the same point, soon enough: anything
    // in between (another row, the other point, a pause) starts a step of its own.
    if (next->before_ != after_ || TrimmedPoint(next->before_) != TrimmedPoint(before_) ||
        next->at_ - at_ > kTrimMergeMs)
        return false;
    after_ = next->after_;
    at_ = next->at_;
    return true;
}

bool SceneListStep::ChangesValues() const {
    return !std::equal(before_.rows.begin(), before_.rows.end(), after_.rows.begin(),
                       after_.rows.end(),
                       [](const Scene& a, const Scene& b) { return a.Copy() == b.Copy(); });
}
