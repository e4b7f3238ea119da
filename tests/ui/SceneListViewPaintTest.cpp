#include <gtest/gtest.h>

#include <QPainter>

#include "SceneListViewHarness.h"

namespace {

constexpr int kRow = SceneListView::kRowHeight;

QImage Shot(SceneListViewHarness& h) {
    return h.Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect Column(int row, int left, int right) {
    return QRect(left, row * kRow, right - left, kRow);
}

// The colours found in a part of the picture.
QSet<QRgb> Colours(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours;
}

// What a label column must look like: the text in the row font on the row's background.
QImage ExpectedLabel(const SceneListView& view, const QSize& size, const QColor& background,
                     const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(view.LabelFont());
    painter.setPen(view.palette().color(QPalette::WindowText));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

const QColor kOdd(230, 230, 230);
const QColor kEven(245, 245, 245);

TEST(SceneListViewPaint, rowsAreStripedTheSelectedRowIsHighlightedAndAMarkedPointRedOnBlack) {
    SceneListViewHarness h(4);
    h.Click(3);
    const QImage shot = Shot(h);
    EXPECT_EQ(QColor(shot.pixel(2, 1 * kRow + 10)), kOdd);
    EXPECT_EQ(QColor(shot.pixel(2, 2 * kRow + 10)), kEven);
    EXPECT_EQ(QColor(shot.pixel(2, 3 * kRow + 10)), h.view.palette().color(QPalette::Highlight));

    // A marked point is red on black.
    h.Click(1);
    h.list.SetPointMarks(1, kOutPointMarked);
    const QImage marked = Shot(h);
    const QSet<QRgb> out = Colours(marked, Column(1, SceneListView::kOutLeft, 240));
    EXPECT_TRUE(out.contains(qRgb(0, 0, 0)));
    EXPECT_TRUE(out.contains(qRgb(255, 0, 0)));
    const QSet<QRgb> in = Colours(marked, Column(1, SceneListView::kInLeft, 120));
    EXPECT_FALSE(in.contains(qRgb(255, 0, 0)));
}

TEST(SceneListViewPaint, aTapeChangeRowShowsOnlyItsNumberTransitionAndMemo) {
    SceneListViewHarness h(3);
    h.list.ModifyRow(2, "00:01:00:00", "00:01:10:00", "tape two", true);
    h.list.SetEffect(2, 3);
    h.list.SetTransition(2, 102);
    h.list.SetEffect(1, 3);
    h.Click(3);
    const QImage shot = Shot(h);
    const int hidden[][2] = {{SceneListView::kInLeft, SceneListView::kEffectLeft},
                             {SceneListView::kEffectLeft, SceneListView::kOutLeft},
                             {SceneListView::kOutLeft, SceneListView::kTransitionLeft},
                             {SceneListView::kDurationLeft, SceneListView::kMemoLeft}};
    for (const auto& column : hidden) {
        EXPECT_EQ(Colours(shot, Column(2, column[0], column[1])).size(), 1)
            << "column at " << column[0] << " is blank on the tape change row";
        EXPECT_GT(Colours(shot, Column(1, column[0], column[1])).size(), 1)
            << "column at " << column[0] << " shows on a scene row";
    }
    const int shown[][2] = {{SceneListView::kNumberLeft, SceneListView::kInLeft},
                            {SceneListView::kTransitionLeft, SceneListView::kDurationLeft},
                            {SceneListView::kMemoLeft, SceneListView::kMemoLeft + 60}};
    for (const auto& column : shown)
        EXPECT_GT(Colours(shot, Column(2, column[0], column[1])).size(), 1);
}

TEST(SceneListViewPaint, dropFrameRowsShowAFullStopBeforeTheFramesAndTheColonReturns) {
    SceneListViewHarness h(2);
    h.list.SetTimecodeMode(Fps30);
    h.list.ModifyRow(1, "00:01:00:02", "00:01:10:00", "", false);
    h.Click(2);
    const QRect in = Column(1, SceneListView::kInLeft, SceneListView::kEffectLeft);

    h.list.SetTimecodeMode(Fps30Drop);
    EXPECT_EQ(Shot(h).copy(in), ExpectedLabel(h.view, in.size(), kOdd, "00:01:00.02"));
    h.list.SetTimecodeMode(Fps30);
    EXPECT_EQ(Shot(h).copy(in), ExpectedLabel(h.view, in.size(), kOdd, "00:01:00:02"));
}

TEST(SceneListViewPaint, effectAndTransitionPicturesFollowTheirCodes) {
    SceneListViewHarness h(4);
    h.list.SetEffect(1, 5);
    h.list.SetTransition(1, 117);
    h.list.SetEffect(2, 0);
    h.list.SetTransition(2, 100);
    h.list.SetTransition(3, 118);
    h.Click(4);
    const QImage shot = Shot(h);
    const auto effect = [](int row) {
        return QRect(SceneListView::kEffectLeft, row * kRow + 2, 30, 17);
    };
    const auto transition = [](int row) {
        return QRect(SceneListView::kTransitionLeft, row * kRow + 2, 30, 17);
    };
    EXPECT_GT(Colours(shot, effect(1)).size(), 8);
    EXPECT_GT(Colours(shot, transition(1)).size(), 8);
    EXPECT_EQ(Colours(shot, effect(2)).size(), 1) << "effect 0 draws no picture";
    EXPECT_EQ(Colours(shot, transition(2)).size(), 1) << "transition 100 is no transition";
    EXPECT_EQ(Colours(shot, transition(3)).size(), 1) << "118 has no picture";
}

TEST(SceneListViewPaint, labelsUseTenPointsUpTo100DpiAndNineAboveAndJapaneseMemosTheirFace) {
    EXPECT_EQ(SceneListView::LabelPointSize(96), 10);
    EXPECT_EQ(SceneListView::LabelPointSize(100), 10);
    EXPECT_EQ(SceneListView::LabelPointSize(120), 9);
    // Japanese memos take the Japanese face at nine points.
    SceneListViewHarness h(1);
    EXPECT_EQ(h.view.MemoFont().family(), h.view.LabelFont().family());
    h.view.SetLanguageCode(17);
    EXPECT_EQ(h.view.MemoFont().families().first(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(h.view.MemoFont().pointSize(), 9);
}

}  // namespace
