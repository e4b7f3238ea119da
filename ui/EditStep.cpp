#include "ui/EditStep.h"

#include <algorithm>

#include "config/CaptionTable.h"
#include "edit/SceneList.h"

namespace {

int RowCount(const SceneListState& state) {
    return static_cast<int>(state.rows.size());
}

// Row 0 never moves, so only the other selected rows count.
int MovedRows(const SceneListState& before) {
    return static_cast<int>(std::count_if(before.rows.begin() + 1, before.rows.end(),
                                          [](const Scene& row) { return row.selected; }));
}

// Names that carry a number of rows: the singular caption for one row, else the plural one,
// whose %1 takes the number.
QString CountedName(const char* key, int rows, const CaptionTable& captions) {
    const QString name = QString::fromLatin1(key);
    if (rows == 1)
        return captions.CaptionText(name + QLatin1Char('1'));
    return captions.CaptionText(name).arg(rows);
}

const char* CorrectionKey(const SceneListState& before, const SceneListState& after) {
    const auto [changed, _] =
        std::mismatch(before.rows.begin(), before.rows.end(), after.rows.begin(), after.rows.end());
    if (changed == before.rows.end())
        return "UNDO_MODIFY";
    const Scene& was = *changed;
    const Scene& is = after.rows[static_cast<size_t>(changed - before.rows.begin())];
    Scene memoOnly = was;
    memoOnly.memo = is.memo;
    if (memoOnly == is)
        return "UNDO_MEMO";
    Scene markOnly = was;
    markOnly.tapeChange = is.tapeChange;
    if (markOnly == is)
        return "UNDO_TAPEMARK";
    return "UNDO_MODIFY";
}

}  // namespace

QString EditStepName(EditStep step, const SceneListState& before, const SceneListState& after,
                     const CaptionTable& captions) {
    const int added = RowCount(after) - RowCount(before);
    const char* key = nullptr;
    switch (step) {
        case EditStep::Delete:
            return CountedName("UNDO_DEL", -added, captions);
        case EditStep::Cut:
            return CountedName("UNDO_CUT", -added, captions);
        case EditStep::Paste:
            return CountedName("UNDO_PASTE", added, captions);
        case EditStep::DragCopy:
            return CountedName("UNDO_COPY", added, captions);
        case EditStep::DragMove:
            return CountedName("UNDO_MOVE", MovedRows(before), captions);
        case EditStep::Correction:
            key = CorrectionKey(before, after);
            break;
        case EditStep::AddScene:
            key = "UNDO_ADDSCENE";
            break;
        case EditStep::AddTapeChange:
            key = "UNDO_ADDTAPE";
            break;
        case EditStep::Entry:
            key = "UNDO_ENTRY";
            break;
        case EditStep::MarkIn:
            key = "UNDO_IN";
            break;
        case EditStep::MarkOut:
            key = "UNDO_OUT";
            break;
        case EditStep::Trim:
            key = "UNDO_TRIM";
            break;
        case EditStep::SceneUp:
            key = "UNDO_SCENEUP";
            break;
        case EditStep::SceneDown:
            key = "UNDO_SCENEDOWN";
            break;
        case EditStep::LastScene:
            key = "UNDO_SCENEEND";
            break;
        case EditStep::Effect:
            key = "UNDO_EFFECT";
            break;
        case EditStep::Transition:
            key = "UNDO_TRANS";
            break;
    }
    return captions.CaptionText(QLatin1String(key));
}
