#include <gtest/gtest.h>

#include <QSignalSpy>

#include "edit/SceneList.h"
#include "tests/edit/SceneListFixtures.h"

namespace {

QStringList Rows(std::initializer_list<const char*> memos) {
    QStringList list;
    for (const char* memo : memos)
        list << QString::fromUtf8(memo);
    return list;
}

TEST(SceneList, NewListIsTheFirstTapeAloneSelectedAndUnmodified) {
    SceneList list;
    ASSERT_EQ(list.count(), 1);
    EXPECT_TRUE(list.row(0).tapeChange);
    EXPECT_TRUE(list.row(0).selected);
    EXPECT_EQ(list.current(), 0);
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_FALSE(list.modified());
    EXPECT_EQ(list.totalText(), "00:00:00:00");
    const SceneListMenuState menu = list.MenuState();
    EXPECT_TRUE(menu.copy);
    EXPECT_FALSE(menu.cut);
    EXPECT_FALSE(menu.deleteRows);
    EXPECT_FALSE(menu.selectNone);
    EXPECT_FALSE(menu.paste);
    EXPECT_TRUE(menu.modify);
    EXPECT_TRUE(menu.add);

    list.DeleteSelected();
    list.Cut();
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.row(0).tapeChange);
}

TEST(SceneList, AddInsertsABlankRowAfterTheCurrentRowAndSelectsIt) {
    SceneList list;
    FillScenes(list, 3);
    list.SetTransition(1, 105);
    list.SelectOnly(1);
    ASSERT_TRUE(list.AddRow(SceneList::RowKind::TapeChange));
    EXPECT_EQ(Memos(list), Rows({"", "r1", "", "r2", "r3"}));
    EXPECT_TRUE(list.row(2).tapeChange);
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    EXPECT_EQ(list.current(), 2);
    EXPECT_EQ(list.row(1).transition, 105);

    ASSERT_TRUE(list.AddRow(SceneList::RowKind::Scene));
    const Scene& added = list.row(3);
    EXPECT_FALSE(added.tapeChange);
    EXPECT_EQ(added.durationFrames, 0);
    EXPECT_EQ(added.durationText, "00:00:00:00");
    EXPECT_EQ(added.transition, 0);
    EXPECT_EQ(added.effect, 0);
    EXPECT_TRUE(list.modified());

    SelectRows(list, {1, 2});
    EXPECT_FALSE(list.MenuState().add);
    EXPECT_FALSE(list.AddRow(SceneList::RowKind::Scene));
    EXPECT_EQ(list.count(), 6);
}

TEST(SceneList, ListStopsAtOneHundredRowsAndBuffersAtNinetyNine) {
    SceneList list;
    FillScenes(list, 98);
    list.SelectAll();
    list.Copy();
    EXPECT_EQ(list.clip().Count(), 99);
    EXPECT_EQ(list.clip().Item(0).memo, "");  // row 0 is copied like any selected row
    EXPECT_EQ(list.clip().Item(98).memo, "r98");

    // Pasting 5 rows into a 98-row list inserts only the 2 that fit.
    FillScenes(list, 97);
    list.SelectOnly(1);
    list.Copy();
    list.SelectOnly(2);
    for (int i = 3; i <= 6; ++i)
        list.AddToSelection(i);
    list.Copy();
    ASSERT_EQ(list.clip().Count(), 5);
    list.SelectOnly(10);
    list.Paste();
    EXPECT_EQ(list.count(), 100);
    EXPECT_EQ(list.row(10).memo, "r2");
    EXPECT_EQ(list.row(11).memo, "r3");
    EXPECT_EQ(list.row(12).memo, "r10");

    const SceneListMenuState full = list.MenuState();
    EXPECT_FALSE(full.add);
    EXPECT_FALSE(full.paste);
    EXPECT_FALSE(list.AddRow(SceneList::RowKind::Scene));
    list.Paste();
    EXPECT_EQ(list.count(), 100);

    list.SelectAll();
    list.Copy();
    EXPECT_EQ(list.clip().Count(), 99);
    EXPECT_EQ(list.clip().Item(98).memo, list.row(98).memo);

    // With 99 rows one more can be added.
    list.SelectOnly(99);
    list.DeleteSelected();
    ASSERT_EQ(list.count(), 99);
    EXPECT_TRUE(list.MenuState().add);
    EXPECT_TRUE(list.AddRow(SceneList::RowKind::Scene));
    EXPECT_EQ(list.count(), 100);
}

TEST(SceneList, PasteInsertsBeforeTheSelectedRowWhichMovesDownUnselected) {
    SceneList list;
    FillScenes(list, 5);
    SelectRows(list, {1, 2});
    list.Copy();
    list.SelectOnly(3);
    ASSERT_TRUE(list.MenuState().paste);
    list.Paste();
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r2", "r1", "r2", "r3", "r4", "r5"}));
    EXPECT_EQ(SelectedRows(list), QList<int>{3});
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_EQ(list.current(), 3);
    EXPECT_EQ(list.row(3).durationFrames, list.row(1).durationFrames);

    list.SelectOnly(0);
    EXPECT_FALSE(list.MenuState().paste);  // nothing goes before the first tape
}

TEST(SceneList, DeleteCompactsTheRowsAndSelectsTheRowAtTheFirstGap) {
    SceneList list;
    FillScenes(list, 5);
    SelectRows(list, {2, 4});
    ASSERT_TRUE(list.MenuState().deleteRows);
    list.DeleteSelected();
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r3", "r5"}));
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    EXPECT_EQ(list.current(), 2);
    EXPECT_EQ(list.selectedCount(), 1);

    // The first tape survives a delete that includes it; the selection falls back to the end.
    SelectRows(list, {0, 3});
    list.DeleteSelected();
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r3"}));
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    EXPECT_EQ(list.current(), 2);

    list.SelectOnly(1);
    list.Cut();
    EXPECT_EQ(Memos(list), Rows({"", "r3"}));
    EXPECT_EQ(list.clip().Count(), 1);
    EXPECT_EQ(list.clip().Item(0).memo, "r1");
}

TEST(SceneList, TotalCountsOnlyForwardScenesAfterTheFirstTape) {
    SceneList list;
    FillScenes(list, 4);  // durations of 1, 2, 3 and 4 seconds
    list.ModifyRow(0, "00:00:00:00", "00:10:00:00", "", true);
    EXPECT_EQ(list.totalFrames(), 10 * 25);
    list.ModifyRow(2, "00:01:00:00", "00:01:02:00", "r2", true);  // now a tape change
    EXPECT_EQ(list.totalFrames(), 8 * 25);
    list.SetOutText(3, "00:00:59:00");  // out before in: no duration
    EXPECT_EQ(list.row(3).durationFrames, 0);
    EXPECT_EQ(list.row(3).durationText, "00:00:00:00");
    EXPECT_EQ(list.totalFrames(), 5 * 25);
    EXPECT_EQ(list.totalText(), "00:00:05:00");
}

TEST(SceneList, ArrowKeysMoveOrExtendTheSelectionWithinTheList) {
    SceneList list;
    FillScenes(list, 3);
    list.SelectOnly(1);
    QSignalSpy scroll(&list, &SceneList::scrollRequested);
    list.MoveByKey(+1, Qt::NoModifier);
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    ASSERT_EQ(scroll.size(), 1);
    EXPECT_EQ(scroll.last().at(0).toInt(), 3);  // one row of margin below

    list.MoveByKey(+1, Qt::ShiftModifier);
    EXPECT_EQ(SelectedRows(list), (QList<int>{2, 3}));
    EXPECT_EQ(list.current(), 3);
    EXPECT_EQ(list.selectedCount(), 2);
    list.MoveByKey(+1, Qt::NoModifier);  // already the last row
    EXPECT_EQ(list.current(), 3);

    list.MoveByKey(-1, Qt::ShiftModifier | Qt::ControlModifier);  // not Shift alone
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    list.SelectOnly(0);
    list.MoveByKey(-1, Qt::NoModifier);
    EXPECT_EQ(list.current(), 0);
}

TEST(SceneList, DropOnTheEmptyListMovesTheSelectionToTheEndCtrlAppendsCopiesOthersOnlySelect) {
    SceneList list;
    FillScenes(list, 5);
    SelectRows(list, {2, 3});
    list.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeNone);
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r4", "r5", "r2", "r3"}));
    EXPECT_EQ(SelectedRows(list), (QList<int>{4, 5}));
    EXPECT_EQ(list.selectedCount(), 2);
    EXPECT_EQ(list.current(), 5);

    // Row 0 in the selection stays where it is; the others still move.
    SelectRows(list, {0, 1});
    list.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeShift);
    EXPECT_EQ(Memos(list), Rows({"", "r4", "r5", "r2", "r3", "r1"}));
    EXPECT_EQ(SelectedRows(list), (QList<int>{0, 5}));
    EXPECT_EQ(list.current(), 5);
    EXPECT_TRUE(list.row(0).tapeChange);

    SelectRows(list, {1, 3});
    list.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeCtrl);
    EXPECT_EQ(Memos(list), Rows({"", "r4", "r5", "r2", "r3", "r1", "r4", "r2"}));
    EXPECT_EQ(SelectedRows(list), (QList<int>{1, 3}));
    EXPECT_EQ(list.selectedCount(), 2);

    // Other drops on the empty list only change the selection.
    FillScenes(list, 4);
    SelectRows(list, {2, 3});
    list.DropOnList(SceneList::DragSource::List, SceneList::kKeyModeNone);
    EXPECT_EQ(SelectedRows(list), QList<int>{0});
    EXPECT_EQ(list.current(), 3);  // the controller keeps working on the row it had

    // A sweep drawn over rows 1..3 and dropped on the list becomes the selection.
    list.HighlightRange(3, 1);
    EXPECT_EQ(SelectedRows(list), QList<int>{0});
    EXPECT_TRUE(list.row(2).shownSelected);
    list.DropOnList(SceneList::DragSource::UnselectedRow, SceneList::kKeyModeNone);
    EXPECT_EQ(SelectedRows(list), (QList<int>{1, 2, 3}));
    EXPECT_EQ(list.selectedCount(), 3);
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r2", "r3", "r4"}));
}

TEST(SceneList, DropOnARowMovesOrWithCtrlCopiesTheSelectionInFrontOfItButNeverBeforeRowZero) {
    SceneList list;
    FillScenes(list, 6);
    SelectRows(list, {2, 3});
    ASSERT_TRUE(list.DropOnRow(5, SceneList::kKeyModeNone));
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r4", "r2", "r3", "r5", "r6"}));
    EXPECT_EQ(SelectedRows(list), QList<int>{5});

    FillScenes(list, 6);
    SelectRows(list, {4, 5});
    ASSERT_TRUE(list.DropOnRow(2, SceneList::kKeyModeNone));
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r4", "r5", "r2", "r3", "r6"}));
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    EXPECT_EQ(list.current(), 2);

    FillScenes(list, 6);
    SelectRows(list, {0, 4});
    ASSERT_TRUE(list.DropOnRow(2, SceneList::kKeyModeNone));
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r4", "r2", "r3", "r5", "r6"}));

    // With Ctrl: copies in front of it.
    FillScenes(list, 4);
    SelectRows(list, {3, 4});
    ASSERT_TRUE(list.DropOnRow(2, SceneList::kKeyModeCtrl));
    EXPECT_EQ(Memos(list), Rows({"", "r1", "r3", "r4", "r2", "r3", "r4"}));

    QSignalSpy rows(&list, &SceneList::rowsChanged);
    QSignalSpy selection(&list, &SceneList::selectionChanged);
    const QStringList before = Memos(list);
    EXPECT_FALSE(list.DropOnRow(0, SceneList::kKeyModeNone));
    EXPECT_FALSE(list.DropOnRow(list.count(), SceneList::kKeyModeNone));
    EXPECT_EQ(Memos(list), before);
    EXPECT_EQ(rows.size(), 0);
    EXPECT_EQ(selection.size(), 0);
}

TEST(SceneList, ObserversHearOnceAfterEachOperationAndRevalidationFollowsShapeChanges) {
    SceneList list;
    FillScenes(list, 4);
    list.SetModified(false);
    int revalidations = 0;
    int countSeenByHook = -1;
    list.SetRevalidationHook([&] {
        ++revalidations;
        countSeenByHook = list.count();
    });
    QSignalSpy current(&list, &SceneList::currentChanged);
    QSignalSpy rows(&list, &SceneList::rowsChanged);
    QSignalSpy modified(&list, &SceneList::modifiedChanged);

    list.SelectOnly(2);
    list.SelectAll();
    list.MoveByKey(-1, Qt::NoModifier);
    EXPECT_EQ(current.size(), 2);
    EXPECT_EQ(revalidations, 0);
    EXPECT_EQ(rows.size(), 0);

    SelectRows(list, {2, 3});
    current.clear();
    list.DeleteSelected();
    EXPECT_EQ(rows.size(), 1);
    EXPECT_EQ(revalidations, 1);
    EXPECT_EQ(countSeenByHook, 3);
    ASSERT_EQ(modified.size(), 1);
    EXPECT_TRUE(modified.last().at(0).toBool());

    list.ModifyRow(1, "00:00:01:00", "00:00:02:00", "x", false);  // same tape-change mark
    EXPECT_EQ(revalidations, 1);
    list.ModifyRow(1, "00:00:01:00", "00:00:02:00", "x", true);
    EXPECT_EQ(revalidations, 2);
    list.AddRow(SceneList::RowKind::Scene);
    EXPECT_EQ(revalidations, 3);
    list.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeNone);
    EXPECT_EQ(revalidations, 4);
}

TEST(SceneList, SelectingARowClearsPointMarksAndClampsOutOfRangeIndices) {
    SceneList list;
    FillScenes(list, 2);
    list.SetPointMarks(2, kInPointMarked);
    EXPECT_EQ(list.row(2).pointMarks, kInPointMarked);
    list.SelectOnly(1);
    EXPECT_EQ(list.row(2).pointMarks, 0u);

    list.SelectOnly(50);  // beyond the list: the last row
    EXPECT_EQ(SelectedRows(list), QList<int>{2});
    EXPECT_EQ(list.current(), 2);
    list.SelectOnly(101);
    EXPECT_EQ(list.current(), 0);
    list.AddToSelection(7);
    EXPECT_EQ(list.selectedCount(), 1);
}

TEST(SceneList, TimecodeModeDecidesSeparatorsAndFrameCounts) {
    SceneList list(Fps25);
    FillScenes(list, 1);
    list.SetInText(1, "00:01:00:00");
    list.SetOutText(1, "00:01:10:10");
    EXPECT_EQ(list.row(1).durationFrames, 10 * 25 + 10);
    const bool wasModified = list.modified();

    list.SetTimecodeMode(Fps30Drop);
    EXPECT_EQ(list.row(1).inText, "00:01:00.00");
    EXPECT_EQ(list.row(1).outText, "00:01:10.10");
    EXPECT_EQ(list.row(1).inFrames, 1798);
    EXPECT_EQ(list.row(1).durationFrames, 310);
    EXPECT_EQ(list.row(1).durationText, "00:00:10.10");
    EXPECT_EQ(list.totalText(), "00:00:10.10");
    EXPECT_EQ(list.modified(), wasModified);

    list.SetTimecodeMode(Fps25);
    EXPECT_EQ(list.row(1).inText, "00:01:00:00");
    list.SetInText(1, "00:01:00.05");
    EXPECT_EQ(list.row(1).inText, "00:01:00:05");
}

TEST(SceneList, MemosAreCutByCharactersNeverInsideOne) {
    SceneList list;
    FillScenes(list, 2);
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // one character, two UTF-16 units
    list.ModifyRow(1, "00:00:00:00", "00:00:00:00", QString(4, u'a') + clef + "b", false);
    list.ModifyRow(2, "00:00:00:00", "00:00:00:00", "short", false);
    list.SetModified(false);
    list.LimitMemos(5);
    EXPECT_EQ(list.row(1).memo, QString(4, u'a') + clef);
    EXPECT_EQ(list.row(2).memo, "short");
    EXPECT_TRUE(list.modified());
}

}  // namespace
