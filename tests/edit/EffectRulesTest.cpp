// The effect and transition rules on a real scene list, with the supplied captions and a
// capability database holding the camera defaults (effects 1 and 4 refuse 102 and 117).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "SceneListFixtures.h"
#include "config/CaptionTable.h"
#include "devices/CDevCaps.h"
#include "edit/EffectRules.h"

namespace {

const QString kNg = "These two cannot be used together on this player.";
const QString kPicNg = "This transition needs a following scene.";

class EffectRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        captions.SelectLanguage(9);
        ASSERT_TRUE(captions.LoadCaptions(CLIPWRIGHT_SOURCE_DIR "/resources/cw20.cpt"));
        caps.SetPlayerId(1);
        caps.SetCategory(CDevCaps::kCameraCategory);
        caps.SetModelCode(9999);
        caps.Load();  // no such file: camera defaults
        rules.SetMessageSink([this](const QString& text) { messages << text; });
        FillScenes(list, 4);
        list.SetModified(false);
    }

    QTemporaryDir dir;
    CaptionTable captions;
    CDevCaps caps{dir.filePath("cw20dev.ini")};
    SceneList list;
    EffectRules rules{list, caps, captions};
    QStringList messages;
};

TEST_F(EffectRulesTest, NoneCodesAreAlwaysAcceptedEvenWithNothingAvailable) {
    caps.SetCategory(0);
    caps.Load();  // all words -1
    list.SetTransition(1, 105);
    list.SetEffect(2, 3);
    EXPECT_TRUE(rules.CheckEffect(2, 0));
    EXPECT_TRUE(rules.CheckTransition(2, 0));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EffectRulesTest, EffectsAndTransitionsAreTestedAgainstEachOtherInTheirRowAndTheNext) {
    list.SetTransition(2, 102);
    EXPECT_FALSE(rules.CheckEffect(2, 1));
    EXPECT_TRUE(rules.CheckEffect(2, 2));
    EXPECT_FALSE(rules.CheckEffect(3, 1));  // row 2's 102 runs into row 3
    EXPECT_TRUE(rules.CheckEffect(4, 1));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "No.02 Sepia\nNo.02 Black fade\n" + kNg);
    EXPECT_EQ(messages[1], "No.03 Sepia\nNo.02 Black fade\n" + kNg);

    // A transition against the effects of its row and the next.
    messages.clear();
    list.SetTransition(2, 100);
    list.SetEffect(3, 4);
    EXPECT_FALSE(rules.CheckTransition(3, 117));
    EXPECT_FALSE(rules.CheckTransition(2, 117));
    EXPECT_TRUE(rules.CheckTransition(2, 116));
    EXPECT_TRUE(rules.CheckTransition(3, 101));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "No.03 Cinema (letterbox)\nNo.03 Overlap (dissolve)\n" + kNg);
    EXPECT_EQ(messages[1], "No.03 Cinema (letterbox)\nNo.02 Overlap (dissolve)\n" + kNg);
}

TEST_F(EffectRulesTest, JoiningTransitionsNeedAFollowingSceneOnTheSameTape) {
    list.ModifyRow(3, "00:01:00:00", "00:01:03:00", "r3", true);
    for (int t = 111; t <= 117; ++t) {
        EXPECT_FALSE(rules.CheckTransition(4, t)) << t;  // last row
        EXPECT_FALSE(rules.CheckTransition(3, t)) << t;  // a tape change
        EXPECT_FALSE(rules.CheckTransition(2, t)) << t;  // just before one
        EXPECT_FALSE(rules.CheckTransition(0, t)) << t;  // the first tape's own entry
    }
    ASSERT_EQ(messages.size(), 28);
    EXPECT_EQ(messages[0], "No.04 Overlap wipe from left\n" + kPicNg);
    EXPECT_EQ(messages.last(), "No.00 Overlap (dissolve)\n" + kPicNg);
    // The transitions into black end with their own scene.
    for (int t = 101; t <= 110; ++t)
        EXPECT_TRUE(rules.CheckTransition(4, t)) << t;
    FillScenes(list, 4);
    EXPECT_TRUE(rules.CheckTransition(1, 111));
}

TEST_F(EffectRulesTest, ApplyingGoesRowByRowWithOneMessagePerRefusedRow) {
    list.SetTransition(1, 102);
    list.SetTransition(3, 102);
    list.SetModified(false);
    SelectRows(list, {0, 1, 2, 3, 4});
    rules.ApplyEffect(1);
    EXPECT_EQ(list.row(0).effect, 0);  // the first tape's entry never gets an effect
    EXPECT_EQ(list.row(1).effect, 0);
    EXPECT_EQ(list.row(2).effect, 0);
    EXPECT_EQ(list.row(3).effect, 0);
    EXPECT_EQ(list.row(4).effect, 0);
    EXPECT_EQ(messages.size(), 4);

    messages.clear();
    rules.ApplyEffect(4);  // 4 refuses 117 and 102 as well
    EXPECT_EQ(messages.size(), 4);
    rules.ApplyEffect(2);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(list.row(i).effect, 2) << i;
    EXPECT_TRUE(list.modified());

    messages.clear();
    SelectRows(list, {0, 2, 4});
    rules.ApplyTransition(113);
    EXPECT_EQ(list.row(0).transition, 0);  // row 0 is the first tape's entry
    EXPECT_EQ(list.row(2).transition, 113);
    EXPECT_EQ(list.row(4).transition, 0);
    EXPECT_EQ(messages, (QStringList{"No.00 Overlap wipe from top\n" + kPicNg,
                                     "No.04 Overlap wipe from top\n" + kPicNg}));
}

TEST_F(EffectRulesTest, ShapeChangesClearTransitionsThatLostTheirFollowingScene) {
    rules.AttachToList();
    list.SetTransition(3, 113);
    list.SetTransition(2, 105);
    SelectRows(list, {4});
    list.DeleteSelected();
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.row(3).transition, 100);
    EXPECT_EQ(list.row(2).transition, 105);
    EXPECT_EQ(messages, QStringList{"No.03 Overlap wipe from top\n" + kPicNg});

    // Marking the following row as a tape change does the same.
    messages.clear();
    list.SetTransition(1, 117);
    list.ModifyRow(2, "00:01:00:00", "00:01:02:00", "r2", true);
    EXPECT_EQ(list.row(1).transition, 100);
    EXPECT_EQ(messages, QStringList{"No.01 Overlap (dissolve)\n" + kPicNg});
}

}  // namespace
