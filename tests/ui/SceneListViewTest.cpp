#include <gtest/gtest.h>

#include <QAccessible>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>

#include "SceneListViewHarness.h"

namespace {

using Rows = QList<int>;

QStringList Order(std::initializer_list<int> rows) {
    QStringList memos;
    for (int r : rows)
        memos << (r == 0 ? QString() : QStringLiteral("r%1").arg(r));
    return memos;
}

// --- Selection gestures ------------------------------------------------------------------------

TEST(SceneListViewSelection, clicksWithAndWithoutShiftOrCtrlAndTheArrowKeysSelectAsInAList) {
    SceneListViewHarness h(8);
    SelectRows(h.list, {1, 2});
    h.Click(5);
    EXPECT_EQ(SelectedRows(h.list), Rows({5}));
    EXPECT_EQ(h.list.current(), 5);
    EXPECT_EQ(h.list.anchor(), 5);

    h.Click(2, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(h.list), Rows({2, 3, 4, 5}));
    EXPECT_EQ(h.list.selectedCount(), 4);
    EXPECT_EQ(h.list.anchor(), 5) << "a range keeps its fixed end";
    EXPECT_EQ(h.list.current(), 2);

    h.Click(1);
    h.Click(3, Qt::ControlModifier);
    h.Click(5, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(h.list), Rows({1, 3, 5}));
    h.Click(3, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(h.list), Rows({1, 5}));
    EXPECT_EQ(h.list.selectedCount(), 2);

    h.Click(2);
    QTest::keyClick(&h.view, Qt::Key_Down);
    EXPECT_EQ(SelectedRows(h.list), Rows({3}));
    QTest::keyClick(&h.view, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(h.list), Rows({2, 3}));
    EXPECT_EQ(h.list.current(), 2);
}

TEST(SceneListViewSelection, sweepDrawsTheRowsWhileDraggingAndCommitsThemOnRelease) {
    SceneListViewHarness h(8);
    h.Click(1);
    h.Press(5);
    h.DragTo(h.RowPoint(3));
    EXPECT_TRUE(h.list.row(3).shownSelected);
    EXPECT_TRUE(h.list.row(5).shownSelected);
    EXPECT_FALSE(h.list.row(1).shownSelected);
    EXPECT_EQ(SelectedRows(h.list), Rows({1})) << "nothing is committed before the release";
    h.DragTo(h.RowPoint(2));
    h.Release(2);
    EXPECT_EQ(SelectedRows(h.list), Rows({2, 3, 4, 5}));
    EXPECT_EQ(h.list.current(), 2);
    EXPECT_EQ(Memos(h.list), Order({0, 1, 2, 3, 4, 5, 6, 7, 8})) << "a sweep moves nothing";
}

// The controller works on the current row: a stray click below the rows must not leave the list
// showing one row while the controller's scene keys work on another.
TEST(SceneListViewSelection, clickOnTheEmptyPartChangesNothing) {
    SceneListViewHarness h(3, QSize(640, 300));
    h.Click(2);
    QSignalSpy told(&h.view, &SceneListView::sceneOrSelectionChanged);
    QTest::mouseClick(h.Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 250));
    EXPECT_EQ(SelectedRows(h.list), Rows({2}));
    EXPECT_EQ(h.list.current(), 2);
    EXPECT_EQ(told.count(), 0);
}

// --- Right button and popup --------------------------------------------------------------------

TEST(SceneListViewPopup, rightClickKeepsASelectionItHitsAndOtherwiseSelectsTheRowAlone) {
    SceneListViewHarness h(6);
    QMenu pm1;
    pm1.addAction(QStringLiteral("Delete"));
    QSignalSpy shown(&pm1, &QMenu::aboutToShow);
    h.view.SetRowPopup(&pm1);
    SelectRows(h.list, {1, 2, 3});
    QTest::mousePress(h.Viewport(), Qt::RightButton, Qt::NoModifier, h.RowPoint(2));
    EXPECT_EQ(SelectedRows(h.list), Rows({1, 2, 3}));
    EXPECT_EQ(shown.count(), 1) << "the menu's owner sets the enabled items here";
    pm1.close();

    QTest::mousePress(h.Viewport(), Qt::RightButton, Qt::NoModifier, h.RowPoint(5));
    EXPECT_EQ(SelectedRows(h.list), Rows({5}));
    EXPECT_EQ(h.list.selectedCount(), 1);
    EXPECT_EQ(h.list.anchor(), 5);
    EXPECT_TRUE(pm1.isVisible());
    pm1.close();
}

// --- Double click ------------------------------------------------------------------------------

TEST(SceneListViewDoubleClick, twoClicksOnOneRowWithin300msOpenItOnce) {
    SceneListViewHarness h(4);
    QSignalSpy modify(&h.view, &SceneListView::modifyRequested);
    // 300 ms apart, or on different rows: they only select.
    h.Click(2);
    h.now += 300;
    h.Click(2);
    h.now += 50;
    h.Click(1);
    EXPECT_EQ(modify.count(), 0);
    EXPECT_EQ(SelectedRows(h.list), Rows({1}));

    h.now += 1000;
    h.Click(3);
    h.now += 299;
    h.Click(3);
    ASSERT_EQ(modify.count(), 1);
    EXPECT_EQ(modify.at(0).at(0).toInt(), 3);
    h.now += 100;
    h.Click(3);
    EXPECT_EQ(modify.count(), 1) << "a third quick click does not open the row again";

    // The quick second press may arrive as a double-click event: it still counts.
    h.now += 1000;
    h.Click(2);
    h.now += 120;
    QTest::mouseDClick(h.Viewport(), Qt::LeftButton, Qt::NoModifier, h.RowPoint(2));
    h.Release(2);
    ASSERT_EQ(modify.count(), 2);
    EXPECT_EQ(modify.at(1).at(0).toInt(), 2);
}

// --- Moving and copying by drag ----------------------------------------------------------------
// The order each kind of drop makes is checked on SceneList itself (tests/edit); these check
// that the gestures reach it with the right row and keys.

TEST(SceneListViewDrag, aDragMovesCtrlCopiesAndRowZeroRefusesWithoutTellingTheController) {
    SceneListViewHarness h(6);
    QSignalSpy changed(&h.view, &SceneListView::sceneOrSelectionChanged);
    SelectRows(h.list, {2, 3});
    h.Drag(2, 5);
    EXPECT_EQ(Memos(h.list), Order({0, 1, 4, 2, 3, 5, 6}));
    EXPECT_EQ(SelectedRows(h.list), Rows({5}));
    EXPECT_EQ(h.list.current(), 5);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(h.list.modified());

    FillScenes(h.list, 5);
    SelectRows(h.list, {1, 2});
    h.Drag(1, 4, Qt::ControlModifier);
    EXPECT_EQ(Memos(h.list), Order({0, 1, 2, 3, 1, 2, 4, 5}));
    EXPECT_EQ(SelectedRows(h.list), Rows({1, 2}));

    FillScenes(h.list, 5);
    SelectRows(h.list, {2, 3});
    h.list.SetModified(false);
    changed.clear();
    QSignalSpy current(&h.list, &SceneList::currentChanged);
    h.Drag(3, 0);
    EXPECT_EQ(Memos(h.list), Order({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(SelectedRows(h.list), Rows({2, 3}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(current.count(), 0);
    EXPECT_FALSE(h.list.modified());
}

TEST(SceneListViewDrag, theCopyCursorShowsOnlyAfterTheFirst500ms) {
    SceneListViewHarness h(5);
    SelectRows(h.list, {1, 2});
    h.Press(1, Qt::ControlModifier);
    h.DragTo(h.RowPoint(3), Qt::ControlModifier);
    EXPECT_EQ(h.Viewport()->cursor().shape(), Qt::ArrowCursor);
    h.now += 501;
    h.DragTo(h.RowPoint(4), Qt::ControlModifier);
    EXPECT_EQ(h.Viewport()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(h.Viewport()->cursor().hotSpot(), QPoint(15, 15));
    h.DragTo(h.RowPoint(4));
    EXPECT_EQ(h.Viewport()->cursor().shape(), Qt::DragMoveCursor) << "without Ctrl it moves";
    h.DragTo(h.RowPoint(0));
    EXPECT_EQ(h.Viewport()->cursor().shape(), Qt::ForbiddenCursor);
    h.Release(0);
    EXPECT_EQ(h.Viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST(SceneListViewDrag, draggingAtTheEdgesScrollsOneRowPerMove) {
    SceneListViewHarness h(30, QSize(640, 200));
    h.Click(2);
    h.Press(2);
    const int bottom = h.Viewport()->height() - 5;
    h.DragTo(QPoint(60, bottom));
    EXPECT_EQ(h.Scroll(), 20);
    h.DragTo(QPoint(60, bottom - 3));
    EXPECT_EQ(h.Scroll(), 40);
    h.DragTo(QPoint(60, 100));
    EXPECT_EQ(h.Scroll(), 40) << "the middle of the list does not scroll";
    h.DragTo(QPoint(60, 10));
    EXPECT_EQ(h.Scroll(), 20);
    h.DragTo(QPoint(60, 12));
    h.DragTo(QPoint(60, 12));
    EXPECT_EQ(h.Scroll(), 0);
    h.Release(2);
}

TEST(SceneListViewDrag, aDragRestingAtTheBottomEdgeKeepsScrolling) {
    SceneListViewHarness h(30, QSize(640, 200));
    h.Click(2);
    h.Press(2);
    h.DragTo(QPoint(60, h.Viewport()->height() - 5));
    QTRY_VERIFY_WITH_TIMEOUT(h.Scroll() >= 60, 5000);
    h.Release(2);
    QTest::qWait(3 * SceneListView::kEdgeScrollRepeatMs);
    const int after = h.Scroll();
    QTest::qWait(3 * SceneListView::kEdgeScrollRepeatMs);
    EXPECT_EQ(h.Scroll(), after) << "scrolling stops with the drop";
}

// What a screen reader gets: a table of the rows, the texts the rows show, the current row as the
// focused cell, and the selection, which it may change as Ctrl+click does.
TEST(SceneListViewAccessibility, rowsAreATableOfTheShownTextsWithTheListsSelection) {
    SceneListViewHarness h(3);
    CaptionTable captions;
    captions.SelectLanguage(9);
    ASSERT_TRUE(captions.LoadCaptions(BuiltProgramFolder().SuppliedFile("cw20.cpt")));
    h.view.SetWords(SceneListWords::FromCaptions(captions));
    h.list.SetEffect(1, 2);
    h.list.SetTransition(2, 101);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&h.view);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "Edit list");
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_EQ(cells->rowCount(), 4);
    ASSERT_EQ(cells->columnCount(), 7);
    QStringList columns;
    for (int column = 0; column < 7; ++column)
        columns << cells->columnDescription(column);
    EXPECT_EQ(columns, QStringList({"No.", "In Point", "Effect", "Out Point", "Transition",
                                    "Duration Time", "Memo"}));
    const auto rowTexts = [&](int row) {
        QStringList texts;
        for (int column = 0; column < 7; ++column)
            texts << cells->cellAt(row, column)->text(QAccessible::Name);
        return texts.join(u'|');
    };
    EXPECT_EQ(rowTexts(0), "00|Tape change|||||");
    EXPECT_EQ(rowTexts(1), "01|00:01:00:00|Monochrome|00:01:01:00||00:00:01:00|r1");
    EXPECT_EQ(rowTexts(2), "02|00:01:00:00||00:01:02:00|White fade|00:00:02:00|r2");
    EXPECT_EQ(table->indexOfChild(cells->cellAt(2, 4)), 2 * 7 + 4);
    const QRect shown = cells->cellAt(1, 3)->rect();
    EXPECT_EQ(table->childAt(shown.center().x(), shown.center().y()), cells->cellAt(1, 3));

    h.Click(2);
    h.view.setFocus();
    EXPECT_EQ(cells->selectedRows(), QList<int>({2}));
    EXPECT_TRUE(cells->cellAt(2, 6)->tableCellInterface()->isSelected());
    EXPECT_EQ(table->focusChild(), cells->cellAt(2, 0));
    EXPECT_TRUE(cells->selectRow(3));
    EXPECT_TRUE(cells->unselectRow(2));
    EXPECT_EQ(cells->selectedRows(), QList<int>({3}));
    EXPECT_EQ(h.list.selectedCount(), 1);
    EXPECT_TRUE(h.list.row(3).selected);
    EXPECT_EQ(h.list.current(), 2);
    EXPECT_FALSE(cells->selectRow(4));

    // Fewer rows: the cells of the rows gone say so.
    QAccessibleInterface* last = cells->cellAt(3, 0);
    h.list.DeleteSelected();
    EXPECT_EQ(cells->rowCount(), 3);
    EXPECT_TRUE(last->state().invalid);
}

}  // namespace
