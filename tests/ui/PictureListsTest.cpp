#include "ui/PictureLists.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "SceneListViewHarness.h"

namespace {

QImage At(const PictureList& list, int index, qreal density) {
    return list.Picture(index).pixmap(PictureLists::kPictureSize, density).toImage();
}

TEST(PictureLists, everyPictureLoadsAtBothDensitiesTheGreyedFormsDifferAndCodesFindTheirs) {
    PictureLists pictures;
    ASSERT_TRUE(pictures.Load(BuiltProgramFolder()));
    ASSERT_EQ(pictures.ilEffect.Count(), 6);
    ASSERT_EQ(pictures.ilEffectDs.Count(), 6);
    ASSERT_EQ(pictures.ilTrs.Count(), 18);
    ASSERT_EQ(pictures.ilTrsDs.Count(), 18);
    for (const PictureList* list :
         {&pictures.ilEffect, &pictures.ilEffectDs, &pictures.ilTrs, &pictures.ilTrsDs}) {
        for (int i = 0; i < list->Count(); ++i) {
            EXPECT_EQ(At(*list, i, 1.0).size(), QSize(30, 17)) << i;
            const QImage dense = At(*list, i, 2.0);
            EXPECT_EQ(dense.size(), QSize(60, 34)) << "the 2x picture, not a scaled one: " << i;
            EXPECT_EQ(dense.devicePixelRatio(), 2.0);
        }
    }
    EXPECT_NE(At(pictures.ilEffect, 3, 1.0), At(pictures.ilEffectDs, 3, 1.0));
    EXPECT_NE(At(pictures.ilTrs, 7, 1.0), At(pictures.ilTrsDs, 7, 1.0));
    EXPECT_NE(At(pictures.ilTrs, 7, 1.0), At(pictures.ilTrs, 8, 1.0));
    EXPECT_EQ(pictures.copyCursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(pictures.copyCursor.hotSpot(), QPoint(15, 15));
    // Transition codes index their list from 100.
    EXPECT_EQ(PictureLists::TransitionIndex(100), 0);
    EXPECT_EQ(PictureLists::TransitionIndex(117), 17);
    EXPECT_EQ(PictureLists::TransitionIndex(118), -1);
    EXPECT_EQ(PictureLists::TransitionIndex(0), -1);
    EXPECT_TRUE(pictures.ilEffect.Picture(9).isNull());
}

TEST(PictureLists, missingArtworkIsReportedAndDrawsNothing) {
    QTemporaryDir empty;
    PictureLists pictures;
    EXPECT_FALSE(pictures.Load(ProgramFolder(empty.path(), {empty.path()})));
    EXPECT_EQ(pictures.ilTrs.Count(), 18) << "every index keeps its place";
    EXPECT_TRUE(pictures.ilTrs.Picture(5).isNull());
    EXPECT_EQ(pictures.copyCursor.shape(), Qt::DragCopyCursor);
}

}  // namespace
