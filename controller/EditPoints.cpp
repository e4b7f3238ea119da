#include "controller/EditPoints.h"

#include <algorithm>

#include "edit/SceneList.h"
#include "edit/Timecode.h"

namespace {

const QString kZeroCounter = QStringLiteral("00:00:00:00");

int CurrentRow(const SceneList& list) {
    return std::min(list.current(), list.count() - 1);
}

// Goto, Preview, In, Out and Trim work on one scene row: exactly one row selected, not a tape
// change.
void EvaluateSceneKeys(const SceneList& list, const Scene& row, DeviceChoice devices,
                       EditKeyStates& keys) {
    keys.markIn = keys.markOut = true;
    if (devices.playerId == 0) {
        keys.reviewOff = true;
    } else {
        keys.gotoScene = IsAtLeast30s(row.inFrames, list.timecodeMode());
        keys.preview = keys.gotoScene && row.durationFrames != 0;
        keys.reviewOff = devices.recorderId == 0;
    }
    keys.trimMinus = keys.trimPlus = row.pointMarks != 0;
}

}  // namespace

EditKeyStates EvaluateEditKeys(const SceneList& list, DeviceChoice devices) {
    EditKeyStates keys;
    const int current = CurrentRow(list);
    keys.sceneLabel = list.selectedCount() == 1
                          ? QStringLiteral("SCENE %1").arg(current, 2, 10, QLatin1Char('0'))
                          : QStringLiteral("SCENE --");
    keys.programEdit = list.selectedCount() == 1;
    if (list.count() <= 1) {
        keys.reviewOff = true;
        return keys;
    }
    keys.sceneUp = current != 0;
    keys.sceneDown = keys.sceneEnd = current != list.count() - 1;
    keys.autoRec = devices.playerId != 0;
    const Scene& row = list.row(current);
    if (list.selectedCount() != 1 || row.tapeChange) {
        keys.reviewOff = true;
        return keys;
    }
    EvaluateSceneKeys(list, row, devices, keys);
    return keys;
}

bool EntryPossible(const SceneList& list, int32_t counterFrames, bool drivingPlayer) {
    if (!drivingPlayer || !IsAtLeast30s(counterFrames, list.timecodeMode()))
        return false;
    if (list.count() < SceneList::kMaxRows)
        return true;
    // A full list only takes the out point of the row whose in point is open.
    const Scene& row = list.row(CurrentRow(list));
    return list.count() == SceneList::kMaxRows && !row.tapeChange &&
           row.pointMarks == kInPointMarked;
}

QString EntryCounterValue(const QString& counterText, bool counterNegative) {
    if (counterNegative)
        return kZeroCounter;
    return counterText.mid(1, kZeroCounter.size());
}

bool Entry(SceneList& list, const QString& counterValue) {
    if (list.selectedCount() != 1)
        list.SelectOnly(CurrentRow(list));
    const int current = CurrentRow(list);
    if (list.row(current).pointMarks == kInPointMarked) {
        list.SetPointMarks(current, kOutPointMarked);
        list.SetOutText(current, counterValue);
        return true;
    }
    if (current >= SceneList::kMaxRows - 1 || !list.AddRow(SceneList::RowKind::Scene))
        return false;
    const int added = list.current();
    list.SetPointMarks(added, kInPointMarked);
    list.SetInText(added, counterValue);
    return true;
}

void MarkPoint(SceneList& list, EditPoint point) {
    list.SetPointMarks(CurrentRow(list), static_cast<uint32_t>(point));
}

void TrimPoint(SceneList& list, int frames) {
    const int current = CurrentRow(list);
    const Scene& row = list.row(current);
    const bool in = row.pointMarks == kInPointMarked;
    if (in || row.pointMarks == kOutPointMarked) {
        Timecode tc;
        tc.mode = list.timecodeMode();
        tc.text = in ? row.inText : row.outText;
        int32_t value = 0;
        if (TimecodeFromText(tc, &value)) {
            // Back only while above zero; forward without a limit.
            if (frames > 0 || value > 0)
                value += frames;
            const QString text = FramesToText(value, list.timecodeMode());
            in ? list.SetInText(current, text) : list.SetOutText(current, text);
        }
    }
    list.RecomputeDuration(current);
    list.RecomputeTotal();
    list.SetModified(true);
}

void StepScene(SceneList& list, int step) {
    const int current = CurrentRow(list);
    const int target = current + step;
    if (target >= 0 && target < list.count())
        list.SelectOnly(target);
}
