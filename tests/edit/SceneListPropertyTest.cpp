// Long random sequences of list operations: after each one the list must still be a valid edit
// list and its observers must have heard of every change of the current row.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <random>

#include "edit/SceneList.h"
#include "tests/edit/SceneListFixtures.h"

namespace {

void ExpectValid(const SceneList& list, int step) {
    SCOPED_TRACE(step);
    ASSERT_GE(list.count(), 1);
    ASSERT_LE(list.count(), SceneList::kMaxRows);
    ASSERT_TRUE(list.row(0).tapeChange);
    ASSERT_GE(list.current(), 0);
    ASSERT_LT(list.current(), list.count());
    ASSERT_GE(list.anchor(), 0);
    ASSERT_LT(list.anchor(), list.count());
    ASSERT_EQ(list.selectedCount(), SelectedRows(list).size());
    ASSERT_LE(list.clip().Count(), SceneBuffer::kCapacity);
    ASSERT_LE(list.dragBuffer().Count(), SceneBuffer::kCapacity);
    int64_t total = 0;
    for (int i = 0; i < list.count(); ++i) {
        const Scene& row = list.row(i);
        ASSERT_EQ(row.durationFrames, std::max(0, row.outFrames - row.inFrames)) << i;
        if (i > 0 && !row.tapeChange)
            total += row.durationFrames;
    }
    ASSERT_EQ(list.totalFrames(), total);
}

QString RandomTimecode(std::mt19937& rng) {
    std::uniform_int_distribution<int> field(0, 59);
    return QStringLiteral("%1:%2:%3:%4")
        .arg(field(rng) % 3, 2, 10, QChar('0'))
        .arg(field(rng), 2, 10, QChar('0'))
        .arg(field(rng), 2, 10, QChar('0'))
        .arg(field(rng) % 25, 2, 10, QChar('0'));
}

void RandomOperation(SceneList& list, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int anyRow = pick(-2, list.count() + 2);
    const auto mode = static_cast<SceneList::KeyMode>(std::array{0, 1, 3}[pick(0, 2)]);
    switch (pick(0, 19)) {
        case 0:
            list.SelectOnly(anyRow);
            break;
        case 1:
            list.AddToSelection(anyRow);
            break;
        case 2:
            list.SelectAll();
            break;
        case 3:
            list.SelectNone();
            break;
        case 4:
            list.Copy();
            break;
        case 5:
            list.Cut();
            break;
        case 6:
            list.Paste();
            break;
        case 7:
            list.DeleteSelected();
            break;
        case 8:
        case 9:
            list.AddRow(pick(0, 3) == 0 ? SceneList::RowKind::TapeChange
                                        : SceneList::RowKind::Scene);
            break;
        case 10:
            list.ModifyRow(pick(0, list.count() - 1), RandomTimecode(rng), RandomTimecode(rng),
                           QString::number(pick(0, 999)), pick(0, 4) == 0);
            break;
        case 11:
            list.MoveByKey(pick(0, 1) ? 1 : -1, pick(0, 1) ? Qt::ShiftModifier : Qt::NoModifier);
            break;
        case 12:
            list.DropOnRow(anyRow, mode);
            break;
        case 13:
            list.DropOnList(SceneList::DragSource::SelectedRow, mode);
            break;
        case 14:
            list.HighlightRange(anyRow, pick(0, 120));
            break;
        case 15:
            list.CommitShownSelection();
            break;
        case 16:
            list.InsertFromBuffer(list.clip(), anyRow);
            break;
        case 17:
            list.SetTimecodeMode(static_cast<uint32_t>(pick(0, 2)));
            break;
        case 18:
            list.SetInText(anyRow, RandomTimecode(rng));
            break;
        case 19:
            list.DropOnList(SceneList::DragSource::List, mode);
            break;
    }
}

TEST(SceneListProperty, RandomOperationsKeepEveryInvariant) {
    std::mt19937 rng(20240611);
    SceneList list;
    int lastAnnouncedCurrent = list.current();
    QObject::connect(&list, &SceneList::currentChanged,
                     [&](int current) { lastAnnouncedCurrent = current; });
    int maxCount = 0;
    for (int step = 0; step < 20000; ++step) {
        RandomOperation(list, rng);
        ExpectValid(list, step);
        ASSERT_EQ(lastAnnouncedCurrent, list.current()) << step;
        maxCount = std::max(maxCount, list.count());
        if (step % 5000 == 4999)
            list.ClearList();
    }
    // The sequence must have reached the limits it is meant to test.
    EXPECT_EQ(maxCount, SceneList::kMaxRows);
}

TEST(SceneListProperty, MovesNeverLoseOrDuplicateRows) {
    std::mt19937 rng(7);
    SceneList list;
    FillScenes(list, 30);
    QStringList expected = Memos(list);
    expected.sort();
    for (int step = 0; step < 2000; ++step) {
        list.SelectOnly(std::uniform_int_distribution<int>(0, 30)(rng));
        for (int k = 0; k < 5; ++k)
            list.AddToSelection(std::uniform_int_distribution<int>(0, 30)(rng));
        if (step % 2) {
            list.DropOnRow(std::uniform_int_distribution<int>(0, 31)(rng), SceneList::kKeyModeNone);
        } else {
            list.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeShift);
        }
        QStringList memos = Memos(list);
        ASSERT_EQ(memos.first(), "") << step;
        memos.sort();
        ASSERT_EQ(memos, expected) << step;
    }
}

}  // namespace
