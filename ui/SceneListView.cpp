#include "ui/SceneListView.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "ui/EditHistory.h"
#include "ui/PictureLists.h"
#include "ui/SceneListAccessible.h"

namespace {

constexpr int kJapanese = 17;
constexpr int kHighestRowIndex = SceneList::kMaxRows - 1;
constexpr int kLastTransitionWithPicture = 118;
constexpr qreal kLargeLabelMaxDpi = 100.0;
const QColor kOddStripe(230, 230, 230);
const QColor kEvenStripe(245, 245, 245);
const QColor kPointMarkInk(255, 0, 0);
const QColor kPointMarkBackground(0, 0, 0);

QColor StripeColour(int i) {
    return i % 2 == 1 ? kOddStripe : kEvenStripe;
}

QString RowNumberText(int i) {
    return QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
}

// Digits of DejaVu Sans all have one width, so timecodes line up like fixed-pitch text while
// fitting the 85 pixels between the in point and the effect picture.
const QStringList kLabelFaces = {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"),
                                 QStringLiteral("Noto Sans CJK JP")};
const QStringList kJapaneseMemoFaces = {QStringLiteral("Noto Sans CJK JP"),
                                        QStringLiteral("IPAGothic")};
constexpr int kJapaneseMemoPoints = 9;

}  // namespace

SceneListView::SceneListView(SceneList& list, EditHistory& history, const PictureLists& pictures,
                             QWidget* parent)
    : QAbstractScrollArea(parent), list_(list), history_(history), pictures_(pictures) {
    setObjectName(QStringLiteral("List"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    clock_.start();
    ticks_ = [this] { return clock_.elapsed(); };
    lastClickIndex_.fill(-1);
    edgeScrollTimer_.setInterval(kEdgeScrollRepeatMs);
    connect(&edgeScrollTimer_, &QTimer::timeout, this, [this] { DragOver(gesture_.lastPos); });
    connect(&list_, &SceneList::rowsChanged, this, [this] {
        UpdateScrollRange();
        viewport()->update();
    });
    connect(&list_, &SceneList::selectionChanged, viewport(), qOverload<>(&QWidget::update));
    connect(&list_, &SceneList::scrollRequested, this, &SceneListView::ScrollIntoView);
    UpdateScrollRange();
    AttachSceneListAccessibility(this, list_);
}

void SceneListView::SetRowPopup(QMenu* menu) {
    rowPopup_ = menu;
}

void SceneListView::SetLanguageCode(int languageCode) {
    languageCode_ = languageCode;
    viewport()->update();
}

void SceneListView::SetTickSource(TickSource ticks) {
    ticks_ = std::move(ticks);
}

// --- Geometry ----------------------------------------------------------------------------------

int SceneListView::ScrollPosition() const {
    return verticalScrollBar()->value();
}

void SceneListView::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const int visible = viewport()->height();
    bar->setRange(0, std::max(0, list_.count() * kRowHeight - visible));
    bar->setSingleStep(kRowHeight);
    bar->setPageStep(std::max(kRowHeight, visible));
}

void SceneListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

int SceneListView::RowAt(const QPoint& viewportPos) const {
    const int y = viewportPos.y() + ScrollPosition();
    if (y < 0)
        return -1;
    const int i = y / kRowHeight;
    return i < list_.count() ? i : -1;
}

QRect SceneListView::RowRect(int i) const {
    return QRect(0, i * kRowHeight - ScrollPosition(), viewport()->width(), kRowHeight);
}

void SceneListView::ScrollIntoView(int i) {
    if (i < 0 || i > kHighestRowIndex)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int position = bar->value();
    const int visible = viewport()->height();
    if (kRowHeight * i - kRowHeight / 2 < position) {
        bar->setValue(kRowHeight * i);
    } else if (position + visible < kRowHeight * i + kRowHeight / 2) {
        // One row at a time when stepping with the keys, but always far enough to show the row,
        // so that a row far below (after a paste or a drop) does not stay out of sight.
        bar->setValue(std::max(position + kRowHeight, kRowHeight * (i + 1) - visible));
    }
}

// --- Painting ----------------------------------------------------------------------------------

int SceneListView::LabelPointSize(qreal dotsPerInch) {
    return dotsPerInch <= kLargeLabelMaxDpi ? 10 : 9;
}

QFont SceneListView::LabelFont() const {
    const QScreen* shown = screen();
    // With high-DPI scaling the logical density stays near 96 and the scale factor carries the
    // rest; their product is the screen's real density.
    const qreal dpi = shown ? shown->logicalDotsPerInch() * shown->devicePixelRatio() : 96.0;
    QFont font = this->font();
    font.setFamilies(kLabelFaces);
    font.setPointSize(LabelPointSize(dpi));
    return font;
}

QFont SceneListView::MemoFont() const {
    QFont font = LabelFont();
    if (languageCode_ == kJapanese) {
        font.setFamilies(kJapaneseMemoFaces);
        font.setPointSize(kJapaneseMemoPoints);
    }
    return font;
}

void SceneListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int position = ScrollPosition();
    const int first = std::max(0, (event->rect().top() + position) / kRowHeight);
    const int last = std::min(list_.count() - 1, (event->rect().bottom() + position) / kRowHeight);
    for (int i = first; i <= last; ++i)
        PaintRow(painter, i);
}

void SceneListView::PaintRow(QPainter& painter, int i) const {
    const Scene& row = list_.row(i);
    const QRect rowRect = RowRect(i);
    const bool shownSelected = row.shownSelected;
    painter.fillRect(rowRect,
                     shownSelected ? palette().color(QPalette::Highlight) : StripeColour(i));
    painter.setPen(
        palette().color(shownSelected ? QPalette::HighlightedText : QPalette::WindowText));
    painter.setFont(LabelFont());
    const auto column = [&](int left, int right) {
        return QRect(left, rowRect.top(), right - left, kRowHeight);
    };
    constexpr int kAlign = Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(column(kNumberLeft, kInLeft), kAlign, RowNumberText(i));
    const QPoint pictureOffset(0, rowRect.top() + kContentTop);

    // A tape change entry has no points of its own: only its number, transition and memo show.
    if (!row.tapeChange) {
        const QRect in = column(kInLeft, kEffectLeft);
        const QRect out = column(kOutLeft, kTransitionLeft);
        painter.drawText(in, kAlign, row.inText);
        painter.drawText(out, kAlign, row.outText);
        painter.drawText(column(kDurationLeft, kMemoLeft), kAlign, row.durationText);
        if (row.pointMarks & kInPointMarked)
            PaintPointMark(painter, in, row.inText);
        if (row.pointMarks & kOutPointMarked)
            PaintPointMark(painter, out, row.outText);
        if (row.effect > 0)
            pictures_.ilEffect.Draw(painter, pictureOffset + QPoint(kEffectLeft, 0), row.effect);
    }
    if (row.transition > PictureLists::kFirstTransitionCode &&
        row.transition <= kLastTransitionWithPicture) {
        pictures_.ilTrs.Draw(painter, pictureOffset + QPoint(kTransitionLeft, 0),
                             PictureLists::TransitionIndex(row.transition));
    }
    painter.setFont(MemoFont());
    painter.drawText(column(kMemoLeft, std::max(kMemoLeft, rowRect.right())), kAlign, row.memo);
}

// The point the controller is working on: red on black, like the deck's own counter display.
void SceneListView::PaintPointMark(QPainter& painter, const QRect& labelRect,
                                   const QString& text) const {
    painter.save();
    const QRect textRect = painter.boundingRect(labelRect, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.fillRect(textRect.adjusted(-1, 0, 1, 0), kPointMarkBackground);
    painter.setPen(kPointMarkInk);
    painter.drawText(labelRect, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

// --- Mouse -------------------------------------------------------------------------------------

void SceneListView::mousePressEvent(QMouseEvent* event) {
    if (gesture_.source != DragSource::None)
        return;  // another button while a drag runs
    const QPoint pos = event->position().toPoint();
    const int row = RowAt(pos);
    if (event->button() == Qt::RightButton) {
        if (row >= 0)
            RightButtonDown(row, event->globalPosition().toPoint());
        return;
    }
    // Below the rows there is nothing to select: the list and the controller keep the current
    // row they agree on.
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    // The drag starts with the press itself: the pressed row is at once the row dragged over.
    gesture_ = Gesture{};
    gesture_.source = DragSource::Row;
    gesture_.startRow = row;
    gesture_.keyMode = SceneList::DragKeyMode(event->modifiers());
    gesture_.lastPos = pos;
    DragOver(pos);
}

// The second press of a fast double click arrives as a double click event; the row's own click
// timing decides what it means.
void SceneListView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void SceneListView::mouseMoveEvent(QMouseEvent* event) {
    if (gesture_.source == DragSource::None)
        return;
    gesture_.keyMode = SceneList::DragKeyMode(event->modifiers());
    gesture_.lastPos = event->position().toPoint();
    DragOver(gesture_.lastPos);
}

void SceneListView::mouseReleaseEvent(QMouseEvent* event) {
    if (gesture_.source == DragSource::None || event->button() != Qt::LeftButton)
        return;
    gesture_.keyMode = SceneList::DragKeyMode(event->modifiers());
    Drop(event->position().toPoint());
}

void SceneListView::RightButtonDown(int row, const QPoint& globalPos) {
    // A right click inside the selection keeps it, so the popup acts on all of it.
    if (!list_.row(row).selected) {
        list_.HighlightRange(row, row);
        list_.CommitShownSelection();
        list_.SetAnchor(row);
    }
    if (rowPopup_)
        rowPopup_->popup(globalPos);
}

bool SceneListView::StartRowIsSelected() const {
    const int start = gesture_.startRow;
    return start >= 0 && start < list_.count() && list_.row(start).selected;
}

void SceneListView::DragOver(const QPoint& pos) {
    if (gesture_.source != DragSource::Row)
        return;
    const bool moving = StartRowIsSelected();
    if (!viewport()->rect().contains(pos)) {
        // Pulled past the top or bottom edge: keep scrolling towards the rows out of sight.
        if (moving)
            AutoScroll(pos.y());
        return;
    }
    const int target = RowAt(pos);
    if (target >= 0) {
        DragOverRow(target, pos);
    } else if (moving) {
        viewport()->setCursor(gesture_.keyMode == SceneList::kKeyModeCtrl
                                  ? pictures_.copyCursor
                                  : QCursor(Qt::DragMoveCursor));
    } else {
        viewport()->unsetCursor();
    }
}

void SceneListView::DragOverRow(int target, const QPoint& pos) {
    if (StartRowIsSelected()) {
        if (!gesture_.timing) {
            gesture_.timing = true;
            gesture_.timingStart = ticks_();
        }
        UpdateDragCursor(target);
        AutoScroll(pos.y());
        return;
    }
    // A sweep: the rows from the start row to the one under the pointer are drawn selected.
    viewport()->unsetCursor();
    if (gesture_.keyMode == SceneList::kKeyModeNone)
        list_.HighlightRange(target, gesture_.startRow);
}

void SceneListView::UpdateDragCursor(int target) {
    if (ticks_() - gesture_.timingStart <= kDragCursorDelayMs) {
        viewport()->unsetCursor();
    } else if (target == 0) {
        viewport()->setCursor(Qt::ForbiddenCursor);
    } else if (gesture_.keyMode == SceneList::kKeyModeCtrl) {
        viewport()->setCursor(pictures_.copyCursor);
    } else {
        viewport()->setCursor(Qt::DragMoveCursor);
    }
}

void SceneListView::AutoScroll(int y) {
    QScrollBar* bar = verticalScrollBar();
    const int position = bar->value();
    bool atEdge = false;
    if (y <= kRowHeight && position != 0) {
        bar->setValue(std::max(0, position - kRowHeight));
        atEdge = true;
    } else if (y >= viewport()->height() - kRowHeight && bar->maximum() != 0 &&
               position != bar->maximum()) {
        bar->setValue(std::min(bar->maximum(), position + kRowHeight));
        atEdge = true;
    }
    if (atEdge) {
        edgeScrollTimer_.start();
    } else {
        edgeScrollTimer_.stop();
    }
}

void SceneListView::EndGesture() {
    edgeScrollTimer_.stop();
    viewport()->unsetCursor();
    gesture_ = Gesture{};
}

void SceneListView::Drop(const QPoint& pos) {
    const bool moving = StartRowIsSelected();
    const int start = gesture_.startRow;
    const SceneList::KeyMode keyMode = gesture_.keyMode;
    // The gesture is over before anything is announced: a double click opens a modal dialog
    // from here, and its event loop must not see a drag still running.
    EndGesture();
    const bool inside = viewport()->rect().contains(pos);
    const int target = inside ? RowAt(pos) : -1;

    if (!inside) {
        // Released beside the list: a sweep keeps what it showed, a move is called off.
        if (!moving) {
            list_.CommitShownSelection();
            emit sceneOrSelectionChanged();
        }
        return;
    }
    if (target < 0 && moving) {
        DropSelection(keyMode, [this, keyMode] {
            list_.DropOnList(SceneList::DragSource::SelectedRow, keyMode);
            return true;
        });
        emit sceneOrSelectionChanged();
    } else if (target < 0) {
        list_.DropOnList(SceneList::DragSource::UnselectedRow, keyMode);
        emit sceneOrSelectionChanged();
    } else if (target == start) {
        ClickOnRow(target, keyMode);
    } else if (moving) {
        // Row 0 refuses the drop and nothing changes, not even the controller's scene.
        if (DropSelection(keyMode,
                          [this, target, keyMode] { return list_.DropOnRow(target, keyMode); }))
            emit sceneOrSelectionChanged();
    } else {
        list_.SetCurrentRow(target);
        list_.CommitShownSelection();
        emit sceneOrSelectionChanged();
    }
}

bool SceneListView::DropSelection(SceneList::KeyMode keyMode, const std::function<bool()>& drop) {
    bool dropped = false;
    history_.Perform(keyMode == SceneList::kKeyModeCtrl ? EditStep::DragCopy : EditStep::DragMove,
                     [&] { dropped = drop(); });
    return dropped;
}

void SceneListView::ClickOnRow(int target, SceneList::KeyMode keyMode) {
    list_.SetCurrentRow(target);
    if (keyMode == SceneList::kKeyModeShift) {
        list_.HighlightRange(list_.anchor(), target);
    } else if (keyMode == SceneList::kKeyModeCtrl) {
        list_.HighlightRow(target, !list_.row(target).selected);
    } else {
        list_.SetAnchor(target);  // the row drawn selected while pressed stays so
    }
    list_.CommitShownSelection();
    emit sceneOrSelectionChanged();
    RecordClick(target);
}

void SceneListView::RecordClick(int target) {
    const qint64 now = ticks_();
    const size_t slot = static_cast<size_t>(target);
    if (now - lastClickTime_[slot] < kDoubleClickMs && lastClickIndex_[slot] == target) {
        // Consumed, so that a third quick click does not open the row a second time.
        lastClickIndex_[slot] = -1;
        emit modifyRequested(target);
        return;
    }
    lastClickTime_[slot] = now;
    lastClickIndex_[slot] = target;
}

void SceneListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        list_.MoveByKey(event->key() == Qt::Key_Up ? -1 : 1, event->modifiers());
        emit sceneOrSelectionChanged();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}
