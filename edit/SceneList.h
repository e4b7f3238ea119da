// The edit list: up to 100 rows (row 0 is always the first tape's tape-change entry), the current
// row, the committed selection and its count, the modified flag and the clip and drag buffers,
// with every list operation of the Edit menu, the keyboard and drag and drop. Plain data: the
// list view paints from it, the controller window reads and fills its rows, and all of them learn
// about changes through the signals below, sent once at the end of each operation.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "edit/Scene.h"
#include "edit/SceneBuffer.h"
#include "edit/Timecode.h"

// Which Edit menu (and row popup menu) items are enabled for the list as it is.
struct SceneListMenuState {
    bool copy = false;
    bool cut = false;
    bool paste = false;
    bool deleteRows = false;
    bool selectNone = false;
    bool modify = false;
    bool add = false;  // both Add › Scene and Add › Tape Change
};

// Everything that undo puts back: the rows with their selection and point marks, the current
// row and the anchor. The clip and drag buffers and the modified flag are not part of it.
struct SceneListState {
    std::vector<Scene> rows;
    int current = 0;
    int anchor = 0;

    bool operator==(const SceneListState&) const = default;
};

class SceneList : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxRows = 100;

    enum class RowKind { Scene = 0, TapeChange = 1 };

    // Modifier mode of a mouse gesture: Shift extends a range, Ctrl toggles or copies.
    enum KeyMode { kKeyModeNone = 0, kKeyModeShift = 1, kKeyModeCtrl = 3 };

    // What was dragged onto the empty part of the list.
    enum class DragSource { List, SelectedRow, UnselectedRow };

    explicit SceneList(uint32_t timecodeMode = Fps25, QObject* parent = nullptr);

    // --- Reading -------------------------------------------------------------------------------
    int count() const { return static_cast<int>(m_rows.size()); }
    // Row i for 0 <= i < count().
    const Scene& row(int i) const { return m_rows[static_cast<size_t>(i)]; }
    int current() const { return m_current; }
    int selectedCount() const { return m_selectedCount; }
    int anchor() const { return m_anchor; }
    bool modified() const { return m_modified; }
    uint32_t timecodeMode() const { return m_mode; }
    // Sum of the durations of the scene rows from row 1 on; tape changes do not count.
    int32_t totalFrames() const { return m_totalFrames; }
    QString totalText() const { return FramesToText(m_totalFrames, m_mode); }
    const SceneBuffer& clip() const { return m_clip; }
    const SceneBuffer& dragBuffer() const { return m_dragBuffer; }
    // Index of the first selected row counting from row 0, or -1.
    int FirstSelected() const;
    SceneListMenuState MenuState() const;
    // Gesture mode from the modifier keys held during a drag: Ctrl first, then Shift.
    static KeyMode DragKeyMode(Qt::KeyboardModifiers modifiers);

    // --- Whole list ----------------------------------------------------------------------------
    // Row 0 alone, a tape change, selected and current; not modified.
    void ClearList();
    // Replaces every row by `rows` (the first becomes row 0 and is kept a tape change; at most
    // kMaxRows are taken), selects row 0 and leaves the list unmodified: the end of a load.
    void ReplaceRows(std::vector<Scene> rows);
    void SetModified(bool modified);
    SceneListState State() const { return {m_rows, m_current, m_anchor}; }
    // Puts back a state taken earlier: rows, marks, current row and anchor, with the selection
    // recounted, the total recomputed and the current row brought into sight. The texts are
    // read in the list's present mode; the modified flag and the buffers stay as they are.
    void RestoreState(const SceneListState& state);
    // The mode of every timecode text; a change rewrites the drop-frame separators and
    // recomputes every frame count, duration and the total.
    void SetTimecodeMode(uint32_t mode);
    // Called after every change of the list's shape or of a tape-change mark, once the change
    // has been announced, so that impossible transitions can be cleared.
    void SetRevalidationHook(std::function<void()> hook) { m_revalidate = std::move(hook); }

    // --- Selection -----------------------------------------------------------------------------
    // Row i alone becomes selected and current (an index beyond the list is taken as the last
    // row, a negative or one above 100 as row 0) and the view is asked to scroll to it.
    void SelectOnly(int i);
    // Adds row i to the selection and makes it current; ignored outside the list.
    void AddToSelection(int i);
    void SelectAll();
    // "Not Select": row 0 alone stays selected and becomes current.
    void SelectNone();
    void CountSelected();
    void SetAnchor(int i);
    // The row of the last click or drop on a row becomes the one the controller works on.
    void SetCurrentRow(int i);
    // Up and Down keys: move the current row by `step` (-1 or +1); with Shift alone held the
    // row is added to the selection, otherwise selected alone.
    void MoveByKey(int step, Qt::KeyboardModifiers modifiers);
    // The view's highlighting during a sweep or toggle: draws rows as selected without
    // committing them. Highlighting a row clears its point marks.
    void HighlightRow(int i, bool on);
    // Rows between a and b (either order, cut to row 99) drawn selected, all others not.
    void HighlightRange(int a, int b);
    // Every row's committed selection becomes what is drawn.
    void CommitShownSelection();

    // --- Row values ----------------------------------------------------------------------------
    // Derives the frame counts and the duration of row i from its texts; the modified flag is not
    // touched. A text that is not a timecode keeps the previous count.
    void RecomputeDuration(int i);
    void RecomputeTotal();
    void SetInText(int i, const QString& text);
    void SetOutText(int i, const QString& text);
    void SetPointMarks(int i, uint32_t marks);
    void SetEffect(int i, int32_t effect);
    void SetTransition(int i, int32_t transition);
    // The OK of the scene correction dialog: new texts and memo for row i; the tape-change mark
    // can change for rows from 1 on.
    void ModifyRow(int i, const QString& inText, const QString& outText, const QString& memo,
                   bool tapeChange);
    // Cuts every memo longer than maxCharacters to that many characters (code points).
    void LimitMemos(int maxCharacters);
    // Copies the scene values of row `from` onto row `to` (both existing rows).
    void CopyRow(int from, int to);

    // --- Edit operations -----------------------------------------------------------------------
    // Fills the buffer with the selected rows in list order, at most its capacity.
    void CopySelected(SceneBuffer& buffer) const;
    // Inserts the buffer's rows before row i (1 <= i <= count), as many as fit in the list.
    void InsertFromBuffer(const SceneBuffer& buffer, int i);
    // Removes the selected rows except row 0; the row at the first removed index (or the new
    // last row) becomes the only selection.
    void DeleteSelected();
    // A new scene or tape change after the current row, which becomes the only selected row.
    // Only with exactly one row selected and room in the list; false when nothing was added.
    bool AddRow(RowKind kind);
    void Copy() { CopySelected(m_clip); }
    void Cut();
    // Inserts the clip before the first selected row.
    void Paste();

    // --- Drag and drop -------------------------------------------------------------------------
    // A drop onto the empty part of the list. A selected row copies the selection to the end
    // (Ctrl) or moves it there, row 0 staying in place; the moved rows stay selected and the
    // last of them is current. An unselected row commits what is drawn; the list itself
    // selects nothing.
    void DropOnList(DragSource source, KeyMode keyMode);
    // A drop of the selection onto row `target`: copies before it (Ctrl) or moves the selection
    // in front of it; the row then at `target` becomes the only selection. Row 0 and indices
    // outside the list refuse the drop and change nothing (false).
    bool DropOnRow(int target, KeyMode keyMode);

signals:
    void currentChanged(int current);
    // Selection marks, drawn marks, selectedCount or anchor changed.
    void selectionChanged();
    // Rows were added, removed, moved or changed their values or point marks (and the total).
    void rowsChanged();
    void modifiedChanged(bool modified);
    // The view should bring row i into sight (keeping a row of margin where it can).
    void scrollRequested(int row);

private:
    class ChangeBatch;
    enum PendingChange : unsigned { kRowsPending = 0x1, kSelectionPending = 0x2 };

    bool IsRow(int i) const { return i >= 0 && i < count(); }
    Scene& At(int i) { return m_rows[static_cast<size_t>(i)]; }
    void Note(unsigned changes) { m_pending |= changes; }
    void BeginChange();
    void EndChange();
    void MarkModified();
    // Committed and drawn selection of row i; a selection change drops the row's point marks.
    void SelectRow(int i, bool on);
    void SetCurrent(int i);
    void StoreTimecodeText(QString& field, const QString& text) const;
    // Takes `rows` as the list's rows (row 0 kept a tape change, at most kMaxRows), their texts
    // in the list's mode and their counts derived from them.
    void TakeRows(std::vector<Scene> rows);
    void RecomputeAfterTextChange(int i);
    // Row 0, then the unselected rows below `target`, the selected rows, and the unselected
    // rows from `target` on; returns the indices that the selected rows (row 0 excepted) took.
    std::vector<int> MoveSelectionBefore(int target);

    std::vector<Scene> m_rows;
    int m_current = 0;
    int m_selectedCount = 0;
    int m_anchor = 0;
    bool m_modified = false;
    uint32_t m_mode = Fps25;
    int32_t m_totalFrames = 0;
    SceneBuffer m_clip;
    SceneBuffer m_dragBuffer;
    std::function<void()> m_revalidate;

    int m_batchDepth = 0;
    unsigned m_pending = 0;
    bool m_revalidatePending = false;
    int m_scrollRequest = -1;
    int m_currentAtStart = 0;
    bool m_modifiedAtStart = false;
};
