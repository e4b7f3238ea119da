// The editing rules on the edit list alone: which keys are enabled, Entry, In/Out, Trim and the
// scene keys, including the full-list and multi-selection cases.
#include <gtest/gtest.h>

#include "controller/EditPoints.h"
#include "edit/SceneList.h"

namespace {

constexpr int kSecond = 30;  // frames at 30 fps
const DeviceChoice kBothDecks{1, 2};

class EditPointsTest : public ::testing::Test {
protected:
    void SetUp() override { list.ClearList(); }

    // A scene row after the current one, in at `in` and out at `out` (frames).
    void AddScene(int in, int out) {
        ASSERT_TRUE(list.AddRow(SceneList::RowKind::Scene));
        list.SetInText(list.current(), FramesToText(in, Fps30));
        list.SetOutText(list.current(), FramesToText(out, Fps30));
    }

    SceneList list{Fps30};
};

TEST_F(EditPointsTest, ANewListOffersOnlyProgramEditAndDisablesReview) {
    const EditKeyStates keys = EvaluateEditKeys(list, kBothDecks);
    EXPECT_EQ(keys.sceneLabel, QStringLiteral("SCENE 00"));
    EXPECT_TRUE(keys.programEdit);
    EXPECT_FALSE(keys.sceneUp || keys.sceneDown || keys.sceneEnd || keys.markIn || keys.gotoScene ||
                 keys.autoRec || keys.trimMinus);
    EXPECT_TRUE(keys.reviewOff);
}

TEST_F(EditPointsTest, SceneKeysFollowTheCurrentRowAndTheDevicesAndStopAtEitherEnd) {
    AddScene(40 * kSecond, 50 * kSecond);
    AddScene(10 * kSecond, 20 * kSecond);  // in point below 00:00:30:00
    AddScene(60 * kSecond, 60 * kSecond);  // zero duration
    list.SelectOnly(1);
    EditKeyStates keys = EvaluateEditKeys(list, kBothDecks);
    EXPECT_EQ(keys.sceneLabel, QStringLiteral("SCENE 01"));
    EXPECT_TRUE(keys.sceneUp && keys.sceneDown && keys.sceneEnd && keys.autoRec);
    EXPECT_TRUE(keys.gotoScene && keys.preview && keys.markIn && keys.markOut);
    EXPECT_FALSE(keys.reviewOff);
    EXPECT_FALSE(keys.trimMinus);

    list.SelectOnly(2);
    keys = EvaluateEditKeys(list, kBothDecks);
    EXPECT_FALSE(keys.gotoScene || keys.preview);

    list.SelectOnly(3);
    keys = EvaluateEditKeys(list, kBothDecks);
    EXPECT_TRUE(keys.gotoScene);
    EXPECT_FALSE(keys.preview);
    EXPECT_FALSE(keys.sceneDown || keys.sceneEnd);

    keys = EvaluateEditKeys(list, {1, 0});
    EXPECT_TRUE(keys.reviewOff);
    keys = EvaluateEditKeys(list, {0, 0});
    EXPECT_FALSE(keys.autoRec || keys.gotoScene);

    // The scene keys stop at either end.
    StepScene(list, +1);
    EXPECT_EQ(list.current(), 3);
    list.SelectOnly(1);
    StepScene(list, -1);
    StepScene(list, -1);
    EXPECT_EQ(list.current(), 0);

    list.SelectAll();
    keys = EvaluateEditKeys(list, kBothDecks);
    EXPECT_EQ(keys.sceneLabel, QStringLiteral("SCENE --"));
    EXPECT_FALSE(keys.markIn || keys.gotoScene || keys.programEdit);
}

TEST_F(EditPointsTest, EntryOpensThenClosesTheCurrentRowAndOtherwiseInsertsAfterIt) {
    ASSERT_TRUE(Entry(list, QStringLiteral("00:01:00:00")));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.row(1).pointMarks, kInPointMarked);
    ASSERT_TRUE(Entry(list, QStringLiteral("00:01:04:00")));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.row(1).pointMarks, kOutPointMarked);
    EXPECT_EQ(list.row(1).inText, QStringLiteral("00:01:00:00"));
    EXPECT_EQ(list.row(1).outText, QStringLiteral("00:01:04:00"));
    EXPECT_EQ(list.row(1).durationFrames, 4 * kSecond);
    EXPECT_EQ(list.totalFrames(), 4 * kSecond);
    ASSERT_TRUE(Entry(list, QStringLiteral("00:02:00:00")));  // a third press opens the next row
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.current(), 2);

    // On a tape-change row: a new scene after it.
    list.ClearList();
    ASSERT_TRUE(list.AddRow(SceneList::RowKind::TapeChange));
    ASSERT_TRUE(Entry(list, QStringLiteral("00:01:00:00")));
    EXPECT_EQ(list.count(), 3);
    EXPECT_TRUE(list.row(1).tapeChange);
    EXPECT_FALSE(list.row(2).tapeChange);
    EXPECT_EQ(list.row(2).inText, QStringLiteral("00:01:00:00"));

    // With several rows selected: the current row alone, the others keep their points.
    list.ClearList();
    AddScene(40 * kSecond, 50 * kSecond);
    AddScene(60 * kSecond, 70 * kSecond);
    list.SelectOnly(1);
    list.AddToSelection(2);  // rows 1 and 2 selected, row 2 current
    ASSERT_TRUE(Entry(list, QStringLiteral("00:05:00:00")));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_EQ(list.current(), 3);
    EXPECT_EQ(list.row(3).inText, QStringLiteral("00:05:00:00"));
    EXPECT_EQ(list.row(1).inText, QStringLiteral("00:00:40:00"));
    EXPECT_EQ(list.row(2).outText, QStringLiteral("00:01:10:00"));
}

TEST_F(EditPointsTest, AFullListTakesOnlyTheOutPointOfAnOpenRow) {
    for (int i = 1; i < SceneList::kMaxRows; ++i)
        AddScene(40 * kSecond, 50 * kSecond);
    ASSERT_EQ(list.count(), SceneList::kMaxRows);
    const int at = 40 * kSecond;
    EXPECT_FALSE(EntryPossible(list, at, true));
    MarkPoint(list, EditPoint::In);
    EXPECT_TRUE(EntryPossible(list, at, true));
    EXPECT_FALSE(EntryPossible(list, at, false));  // only while driving the player
    ASSERT_TRUE(Entry(list, QStringLiteral("00:00:55:00")));
    EXPECT_EQ(list.count(), SceneList::kMaxRows);
    EXPECT_EQ(list.row(99).outText, QStringLiteral("00:00:55:00"));
    EXPECT_FALSE(EntryPossible(list, at, true));
    EXPECT_FALSE(Entry(list, QStringLiteral("00:01:00:00")));  // row 99 opens nothing
    EXPECT_EQ(list.count(), SceneList::kMaxRows);

    list.SelectOnly(0);  // the tape-change row never takes an out point
    EXPECT_FALSE(EntryPossible(list, at, true));
}

TEST_F(EditPointsTest, EntryTakesTheCounterFromThirtySecondsOnWithoutItsSignNeverBelowZero) {
    EXPECT_FALSE(EntryPossible(list, 30 * kSecond - 1, true));
    EXPECT_TRUE(EntryPossible(list, 30 * kSecond, true));
    EXPECT_EQ(EntryCounterValue(QStringLiteral(" 00:01:02:03"), false),
              QStringLiteral("00:01:02:03"));
    EXPECT_EQ(EntryCounterValue(QStringLiteral("-00:00:05:10"), true),
              QStringLiteral("00:00:00:00"));
}

TEST_F(EditPointsTest, TrimMovesTheMarkedPointAndNeverBelowZero) {
    AddScene(0, 50 * kSecond);
    list.SetModified(false);
    MarkPoint(list, EditPoint::In);
    TrimPoint(list, -1);
    EXPECT_EQ(list.row(1).inText, QStringLiteral("00:00:00:00"));
    TrimPoint(list, +1);
    TrimPoint(list, +1);
    EXPECT_EQ(list.row(1).inFrames, 2);
    EXPECT_EQ(list.row(1).durationFrames, 50 * kSecond - 2);
    MarkPoint(list, EditPoint::Out);
    TrimPoint(list, -1);
    EXPECT_EQ(list.row(1).outText, QStringLiteral("00:00:49:29"));
    EXPECT_EQ(list.totalFrames(), 50 * kSecond - 3);
    EXPECT_TRUE(list.modified());

    list.SetModified(false);
    list.SetPointMarks(1, 0);
    TrimPoint(list, +1);  // nothing marked: texts stay, the list still counts as changed
    EXPECT_EQ(list.row(1).outText, QStringLiteral("00:00:49:29"));
    EXPECT_TRUE(list.modified());
}

}  // namespace
