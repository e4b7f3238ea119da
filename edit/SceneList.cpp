#include "edit/SceneList.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kHighestRowIndex = SceneList::kMaxRows - 1;
// Position of the separator between seconds and frames in an 11-character timecode text.
constexpr int kFrameSeparatorIndex = 8;

// Drop-frame texts carry '.' before the frames, the other modes ':'; texts are stored in the
// list's mode so that the view and the project file show them as the decks count.
QString WithModeSeparator(QString text, uint32_t mode) {
    if (text.size() == kZeroTimecodeText.size()) {
        text[kFrameSeparatorIndex] = mode == Fps30Drop ? u'.' : u':';
    }
    return text;
}

Scene TapeStartRow() {
    Scene row;
    row.tapeChange = true;
    return row;
}

}  // namespace

// Groups the changes of one operation so that observers hear of them once, after the list is
// consistent again (current within the list, counts recounted).
class SceneList::ChangeBatch {
public:
    explicit ChangeBatch(SceneList& list) : m_list(list) { m_list.BeginChange(); }
    ~ChangeBatch() { m_list.EndChange(); }
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

private:
    SceneList& m_list;
};

SceneList::SceneList(uint32_t timecodeMode, QObject* parent)
    : QObject(parent), m_mode(timecodeMode) {
    m_rows.push_back(TapeStartRow());
    SelectRow(0, true);
    m_selectedCount = 1;
    m_pending = 0;
}

void SceneList::BeginChange() {
    if (m_batchDepth++ == 0) {
        m_currentAtStart = m_current;
        m_modifiedAtStart = m_modified;
    }
}

void SceneList::EndChange() {
    if (--m_batchDepth > 0)
        return;
    m_current = std::clamp(m_current, 0, count() - 1);
    m_anchor = std::clamp(m_anchor, 0, count() - 1);
    const unsigned pending = std::exchange(m_pending, 0u);
    const int scrollTo = std::exchange(m_scrollRequest, -1);
    if (pending & kRowsPending)
        emit rowsChanged();
    if (pending & kSelectionPending)
        emit selectionChanged();
    if (m_current != m_currentAtStart)
        emit currentChanged(m_current);
    if (m_modified != m_modifiedAtStart)
        emit modifiedChanged(m_modified);
    if (scrollTo >= 0)
        emit scrollRequested(scrollTo);
    if (std::exchange(m_revalidatePending, false) && m_revalidate)
        m_revalidate();
}

void SceneList::MarkModified() {
    m_modified = true;
}

void SceneList::SetModified(bool modified) {
    ChangeBatch batch(*this);
    m_modified = modified;
}

void SceneList::SelectRow(int i, bool on) {
    Scene& row = At(i);
    row.selected = on;
    row.shownSelected = on;
    if (row.pointMarks != 0)
        Note(kRowsPending);
    row.pointMarks = 0;
    Note(kSelectionPending);
}

void SceneList::SetCurrent(int i) {
    m_current = i;
}

int SceneList::FirstSelected() const {
    for (int i = 0; i < count(); ++i) {
        if (row(i).selected)
            return i;
    }
    return -1;
}

SceneListMenuState SceneList::MenuState() const {
    SceneListMenuState state;
    const bool any = m_selectedCount > 0;
    const bool one = m_selectedCount == 1;
    const bool room = count() < kMaxRows;
    const bool tapeStartOnly = one && row(0).selected;
    state.copy = any;
    state.cut = state.deleteRows = state.selectNone = any && !tapeStartOnly;
    state.paste = one && !m_clip.IsEmpty() && !row(0).selected && room;
    state.modify = one;
    state.add = one && room;
    return state;
}

SceneList::KeyMode SceneList::DragKeyMode(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier)
        return kKeyModeCtrl;
    if (modifiers & Qt::ShiftModifier)
        return kKeyModeShift;
    return kKeyModeNone;
}

void SceneList::ClearList() {
    ChangeBatch batch(*this);
    m_rows.assign(1, TapeStartRow());
    Note(kRowsPending);
    m_anchor = 0;
    SelectOnly(0);
    RecomputeTotal();
    m_modified = false;
}

void SceneList::TakeRows(std::vector<Scene> rows) {
    if (rows.empty())
        rows.push_back(TapeStartRow());
    if (rows.size() > static_cast<size_t>(kMaxRows))
        rows.resize(kMaxRows);
    m_rows = std::move(rows);
    At(0).tapeChange = true;
    for (int i = 0; i < count(); ++i) {
        StoreTimecodeText(At(i).inText, row(i).inText);
        StoreTimecodeText(At(i).outText, row(i).outText);
        RecomputeDuration(i);
    }
    Note(kRowsPending);
}

void SceneList::ReplaceRows(std::vector<Scene> rows) {
    ChangeBatch batch(*this);
    TakeRows(std::move(rows));
    m_anchor = 0;
    SelectOnly(0);
    RecomputeTotal();
    m_modified = false;
}

void SceneList::RestoreState(const SceneListState& state) {
    ChangeBatch batch(*this);
    TakeRows(state.rows);
    SetCurrent(std::clamp(state.current, 0, count() - 1));
    m_anchor = std::clamp(state.anchor, 0, count() - 1);
    Note(kSelectionPending);
    CountSelected();
    RecomputeTotal();
    m_scrollRequest = m_current;
}

void SceneList::SetTimecodeMode(uint32_t mode) {
    if (mode == m_mode)
        return;
    ChangeBatch batch(*this);
    m_mode = mode;
    for (int i = 0; i < count(); ++i) {
        StoreTimecodeText(At(i).inText, row(i).inText);
        StoreTimecodeText(At(i).outText, row(i).outText);
        RecomputeDuration(i);
    }
    RecomputeTotal();
}

void SceneList::SelectOnly(int i) {
    ChangeBatch batch(*this);
    if (i < 0 || i > kMaxRows)
        i = 0;
    // The original quietly selected a row that did not exist here; the last row is what the
    // controller ended up working on anyway.
    i = std::min(i, count() - 1);
    for (int r = 0; r < count(); ++r)
        SelectRow(r, r == i);
    SetCurrent(i);
    m_selectedCount = 1;
    m_scrollRequest = i;
}

void SceneList::AddToSelection(int i) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    SelectRow(i, true);
    SetCurrent(i);
    CountSelected();
}

void SceneList::SelectAll() {
    ChangeBatch batch(*this);
    for (int r = 0; r < count(); ++r)
        SelectRow(r, true);
    m_selectedCount = count();
}

void SceneList::SelectNone() {
    ChangeBatch batch(*this);
    for (int r = 0; r < count(); ++r)
        SelectRow(r, r == 0);
    m_selectedCount = 1;
    // Only the marks change: the current row is where Entry, In/Out and the scene keys work, and
    // clearing a selection must not move them to the tape-start row.
}

void SceneList::CountSelected() {
    const int selected = static_cast<int>(
        std::count_if(m_rows.begin(), m_rows.end(), [](const Scene& r) { return r.selected; }));
    if (selected == m_selectedCount)
        return;
    ChangeBatch batch(*this);
    m_selectedCount = selected;
    Note(kSelectionPending);
}

void SceneList::SetAnchor(int i) {
    if (!IsRow(i) || i == m_anchor)
        return;
    ChangeBatch batch(*this);
    m_anchor = i;
    Note(kSelectionPending);
}

void SceneList::SetCurrentRow(int i) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    SetCurrent(i);
}

void SceneList::MoveByKey(int step, Qt::KeyboardModifiers modifiers) {
    const int target = m_current + (step < 0 ? -1 : 1);
    if (!IsRow(target))
        return;
    ChangeBatch batch(*this);
    const bool onlyShift = (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                         Qt::MetaModifier)) == Qt::ShiftModifier;
    if (onlyShift) {
        AddToSelection(target);
    } else {
        SelectOnly(target);
    }
    // One row of margin beyond the new current row stays in sight.
    m_scrollRequest = std::clamp(target + (step < 0 ? -1 : 1), 0, kHighestRowIndex);
}

void SceneList::HighlightRow(int i, bool on) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    Scene& row = At(i);
    row.shownSelected = on;
    if (row.pointMarks != 0)
        Note(kRowsPending);
    row.pointMarks = 0;
    Note(kSelectionPending);
}

void SceneList::HighlightRange(int a, int b) {
    ChangeBatch batch(*this);
    const int lo = std::min(a, b);
    const int hi = std::min(std::max(a, b), kHighestRowIndex);
    for (int r = 0; r < count(); ++r)
        HighlightRow(r, r >= lo && r <= hi);
}

void SceneList::CommitShownSelection() {
    ChangeBatch batch(*this);
    for (Scene& row : m_rows)
        row.selected = row.shownSelected;
    Note(kSelectionPending);
    CountSelected();
}

void SceneList::RecomputeDuration(int i) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    Scene& row = At(i);
    Timecode tc;
    tc.mode = m_mode;
    tc.text = row.inText;
    TimecodeFromText(tc, &row.inFrames);
    tc.text = row.outText;
    TimecodeFromText(tc, &row.outFrames);
    const int64_t duration = int64_t{row.outFrames} - row.inFrames;
    row.durationFrames =
        duration > 0 ? static_cast<int32_t>(std::min<int64_t>(duration, INT32_MAX)) : 0;
    row.durationText = FramesToText(row.durationFrames, m_mode);
    Note(kRowsPending);
}

void SceneList::RecomputeTotal() {
    int64_t total = 0;
    for (int i = 1; i < count(); ++i) {
        if (!row(i).tapeChange)
            total += row(i).durationFrames;
    }
    const int32_t clamped = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
    if (clamped == m_totalFrames)
        return;
    ChangeBatch batch(*this);
    m_totalFrames = clamped;
    Note(kRowsPending);
}

void SceneList::StoreTimecodeText(QString& field, const QString& text) const {
    field = WithModeSeparator(text, m_mode);
}

void SceneList::RecomputeAfterTextChange(int i) {
    RecomputeDuration(i);
    RecomputeTotal();
    MarkModified();
    Note(kRowsPending);
}

void SceneList::SetInText(int i, const QString& text) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    StoreTimecodeText(At(i).inText, text);
    RecomputeAfterTextChange(i);
}

void SceneList::SetOutText(int i, const QString& text) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    StoreTimecodeText(At(i).outText, text);
    RecomputeAfterTextChange(i);
}

void SceneList::SetPointMarks(int i, uint32_t marks) {
    if (!IsRow(i) || row(i).pointMarks == marks)
        return;
    ChangeBatch batch(*this);
    At(i).pointMarks = marks;
    Note(kRowsPending);
}

void SceneList::SetEffect(int i, int32_t effect) {
    if (!IsRow(i) || row(i).effect == effect)
        return;
    ChangeBatch batch(*this);
    At(i).effect = effect;
    MarkModified();
    Note(kRowsPending);
}

void SceneList::SetTransition(int i, int32_t transition) {
    if (!IsRow(i) || row(i).transition == transition)
        return;
    ChangeBatch batch(*this);
    At(i).transition = transition;
    MarkModified();
    Note(kRowsPending);
}

void SceneList::ModifyRow(int i, const QString& inText, const QString& outText, const QString& memo,
                          bool tapeChange) {
    if (!IsRow(i))
        return;
    ChangeBatch batch(*this);
    Scene& row = At(i);
    StoreTimecodeText(row.inText, inText);
    StoreTimecodeText(row.outText, outText);
    row.memo = memo;
    // Row 0 is the first tape's entry and stays one.
    if (i > 0 && row.tapeChange != tapeChange) {
        row.tapeChange = tapeChange;
        m_revalidatePending = true;
    }
    RecomputeAfterTextChange(i);
}

void SceneList::LimitMemos(int maxCharacters) {
    ChangeBatch batch(*this);
    for (Scene& row : m_rows) {
        // Counted in code points, so a character outside the basic plane is never split.
        int characters = 0;
        qsizetype cut = 0;
        while (cut < row.memo.size() && characters < maxCharacters) {
            cut += row.memo[cut].isHighSurrogate() && cut + 1 < row.memo.size() ? 2 : 1;
            ++characters;
        }
        if (cut < row.memo.size()) {
            row.memo.truncate(cut);
            MarkModified();
            Note(kRowsPending);
        }
    }
}

void SceneList::CopyRow(int from, int to) {
    if (!IsRow(from) || !IsRow(to))
        return;
    ChangeBatch batch(*this);
    At(to).TakeValues(row(from).Copy());
    RecomputeTotal();
    MarkModified();
    Note(kRowsPending);
}

void SceneList::CopySelected(SceneBuffer& buffer) const {
    buffer.Clear();
    for (const Scene& row : m_rows) {
        if (row.selected && !buffer.Append(row.Copy()))
            break;
    }
}

void SceneList::InsertFromBuffer(const SceneBuffer& buffer, int i) {
    const int n = std::min(buffer.Count(), kMaxRows - count());
    if (i <= 0 || i > count() || n <= 0)
        return;
    ChangeBatch batch(*this);
    // The inserted rows take over the selection marks of the slots they land in; the rows that
    // move down to make room lose theirs.
    std::vector<Scene> inserted(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        Scene& row = inserted[static_cast<size_t>(k)];
        if (IsRow(i + k))
            row.selected = row.shownSelected = this->row(i + k).selected;
        row.TakeValues(buffer.Item(k));
    }
    for (int r = i; r < count(); ++r) {
        At(r).selected = At(r).shownSelected = false;
        At(r).pointMarks = 0;
    }
    m_rows.insert(m_rows.begin() + i, inserted.begin(), inserted.end());
    Note(kRowsPending | kSelectionPending);
    CountSelected();
    RecomputeTotal();
    MarkModified();
    m_revalidatePending = true;
}

void SceneList::DeleteSelected() {
    if (m_selectedCount <= 0 || count() <= 1)
        return;
    if (m_selectedCount == 1 && row(0).selected)
        return;
    ChangeBatch batch(*this);
    std::vector<Scene> kept{row(0)};
    int first = 0;
    for (int r = 1; r < count(); ++r) {
        if (!row(r).selected) {
            kept.push_back(row(r));
        } else if (first == 0) {
            first = r;
        }
    }
    m_rows = std::move(kept);
    Note(kRowsPending);
    SelectOnly(std::min(first, count() - 1));
    RecomputeTotal();
    MarkModified();
    m_revalidatePending = true;
}

bool SceneList::AddRow(RowKind kind) {
    if (m_selectedCount != 1 || count() >= kMaxRows)
        return false;
    ChangeBatch batch(*this);
    SceneCopy blank;
    blank.tapeChange = kind == RowKind::TapeChange;
    m_dragBuffer.Clear();
    m_dragBuffer.Append(blank);
    InsertFromBuffer(m_dragBuffer, m_current + 1);
    SelectOnly(m_current + 1);
    return true;
}

void SceneList::Cut() {
    ChangeBatch batch(*this);
    CopySelected(m_clip);
    DeleteSelected();
}

void SceneList::Paste() {
    const int first = FirstSelected();
    if (first > 0)
        InsertFromBuffer(m_clip, first);
}

std::vector<int> SceneList::MoveSelectionBefore(int target) {
    std::vector<Scene> before{row(0)}, moved, after;
    for (int r = 1; r < count(); ++r) {
        Scene row = this->row(r);
        if (row.selected) {
            moved.push_back(row);
        } else {
            row.shownSelected = false;
            row.pointMarks = 0;
            (r < target ? before : after).push_back(row);
        }
    }
    std::vector<int> movedTo;
    for (size_t k = 0; k < moved.size(); ++k)
        movedTo.push_back(static_cast<int>(before.size() + k));
    m_rows = std::move(before);
    m_rows.insert(m_rows.end(), moved.begin(), moved.end());
    m_rows.insert(m_rows.end(), after.begin(), after.end());
    Note(kRowsPending | kSelectionPending);
    MarkModified();
    m_revalidatePending = true;
    return movedTo;
}

void SceneList::DropOnList(DragSource source, KeyMode keyMode) {
    ChangeBatch batch(*this);
    switch (source) {
        case DragSource::List:
            SelectNone();
            return;
        case DragSource::UnselectedRow:
            CommitShownSelection();
            return;
        case DragSource::SelectedRow:
            break;
    }
    CopySelected(m_dragBuffer);
    if (keyMode == kKeyModeCtrl) {
        InsertFromBuffer(m_dragBuffer, count());
        return;
    }
    const std::vector<int> movedTo = MoveSelectionBefore(count());
    // The moved rows keep their selection at their new places; row 0, when it was part of the
    // selection, stayed where it was and is still selected.
    const bool tapeStartSelected = row(0).selected;
    for (int r = 0; r < count(); ++r)
        SelectRow(r, r == 0 && tapeStartSelected);
    for (int r : movedTo)
        SelectRow(r, true);
    CountSelected();
    SetCurrent(movedTo.empty() ? 0 : movedTo.back());
    if (!movedTo.empty())
        m_anchor = movedTo.front();
}

bool SceneList::DropOnRow(int target, KeyMode keyMode) {
    if (target <= 0 || target >= count())
        return false;
    ChangeBatch batch(*this);
    SetCurrent(target);
    CopySelected(m_dragBuffer);
    if (keyMode == kKeyModeCtrl) {
        InsertFromBuffer(m_dragBuffer, target);
        return true;
    }
    MoveSelectionBefore(target);
    SelectOnly(target);
    return true;
}
