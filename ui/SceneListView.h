// The edit list as the user sees it: one scrolling widget that paints the scene list's rows as
// striped 20-pixel lines (number, in point, effect picture, out point, transition picture,
// duration, memo) and turns the mouse into list operations: click, Shift range, Ctrl toggle,
// sweep, the row popup menu, double click to open a scene, and dragging selected rows to move
// them (or, with Ctrl, to copy them). All list changes go through the SceneList; the view
// repaints when the list announces them.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>

#include "edit/SceneList.h"
#include "ui/SceneListWords.h"

class EditHistory;
class PictureLists;
class QMenu;

class SceneListView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 20;
    // Left edges of the row's columns, so that a header above the list can line up with them.
    static constexpr int kNumberLeft = 8;
    static constexpr int kInLeft = 40;
    static constexpr int kEffectLeft = 125;
    static constexpr int kOutLeft = 168;
    static constexpr int kTransitionLeft = 251;
    static constexpr int kDurationLeft = 296;
    static constexpr int kMemoLeft = 392;
    static constexpr int kContentTop = 2;  // labels and pictures sit 2 pixels below the row's top

    // Two clicks on one row closer together than this open the row.
    static constexpr qint64 kDoubleClickMs = 300;
    // A drag of selected rows shows where it would drop only after this long, so that a click
    // never flashes a drag cursor.
    static constexpr qint64 kDragCursorDelayMs = 500;
    // While a drag of selected rows rests at the top or bottom edge, the list keeps scrolling a
    // row per step.
    static constexpr int kEdgeScrollRepeatMs = 100;

    // Milliseconds from any fixed start; tests replace it to control the double click.
    using TickSource = std::function<qint64()>;

    // Neither the list, its history nor the pictures are owned; all outlive the view. Moves and
    // copies by dragging are steps of the history.
    SceneListView(SceneList& list, EditHistory& history, const PictureLists& pictures,
                  QWidget* parent = nullptr);

    // The row popup menu (`pm1`): shown by a right click on a row once that row is selected.
    // The menu's owner sets the items' enabled states when it is about to show. None: no popup.
    void SetRowPopup(QMenu* menu);
    // 17 (Japanese) draws memos in the Japanese face at 9 points.
    void SetLanguageCode(int languageCode);
    void SetTickSource(TickSource ticks);
    // What assistive technologies say for the list and its columns.
    void SetWords(SceneListWords words) { words_ = std::move(words); }
    const SceneListWords& words() const { return words_; }
    SceneList& scenes() const { return list_; }

    // Brings row i into sight (ignored beyond row 99); a row below the visible part scrolls the
    // list at least one row.
    void ScrollIntoView(int i);
    // Row under a point of the viewport, -1 for the empty part below the last row.
    int RowAt(const QPoint& viewportPos) const;
    // The row's rectangle in viewport coordinates.
    QRect RowRect(int i) const;
    // Point size of the row labels on a screen of this density: 10, or 9 above 100 pixels per
    // inch so that the labels still fit the 20-pixel rows.
    static int LabelPointSize(qreal dotsPerInch);
    // The fonts the row labels use on this screen.
    QFont LabelFont() const;
    QFont MemoFont() const;

signals:
    // A double click on row i: open it in the scene correction dialog.
    void modifyRequested(int row);
    // A click, sweep or drop ended: the current scene or the selection may have changed.
    void sceneOrSelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class DragSource { None, Row };

    struct Gesture {
        DragSource source = DragSource::None;
        int startRow = -1;
        SceneList::KeyMode keyMode = SceneList::kKeyModeNone;
        bool timing = false;  // the drag of selected rows has been seen over a row
        qint64 timingStart = 0;
        QPoint lastPos;
    };

    void PaintRow(QPainter& painter, int i) const;
    void PaintPointMark(QPainter& painter, const QRect& labelRect, const QString& text) const;
    void UpdateScrollRange();
    int ScrollPosition() const;

    void RightButtonDown(int row, const QPoint& globalPos);
    bool StartRowIsSelected() const;
    void DragOver(const QPoint& pos);
    void DragOverRow(int target, const QPoint& pos);
    void AutoScroll(int y);
    void UpdateDragCursor(int target);
    void Drop(const QPoint& pos);
    // A drop of the selected rows: moved, or copied with Ctrl, as one step of the history.
    bool DropSelection(SceneList::KeyMode keyMode, const std::function<bool()>& drop);
    void ClickOnRow(int target, SceneList::KeyMode keyMode);
    void RecordClick(int target);
    void EndGesture();

    SceneList& list_;
    EditHistory& history_;
    const PictureLists& pictures_;
    QPointer<QMenu> rowPopup_;
    int languageCode_ = 9;
    TickSource ticks_;
    SceneListWords words_;
    QElapsedTimer clock_;
    Gesture gesture_;
    QTimer edgeScrollTimer_;
    // Per row slot: tick count of the last click and the row it was made on (-1: none).
    std::array<qint64, SceneList::kMaxRows> lastClickTime_{};
    std::array<int, SceneList::kMaxRows> lastClickIndex_{};
};
