// The effect toolbar as real widgets offscreen: placement, hints and pictures from the supplied
// files, what greyed buttons refuse, the raised face following the pointer, clicks applying codes
// to the selected scenes, and the device setup's verdict.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "SceneListViewHarness.h"
#include "config/CaptionTable.h"
#include "devices/CDevCaps.h"
#include "edit/EffectRules.h"
#include "link/DeviceRecord.h"
#include "ui/DeviceSetupToolbar.h"
#include "ui/EditHistory.h"
#include "ui/EffectButton.h"
#include "ui/EffectToolbar.h"
#include "ui/PictureLists.h"

namespace {

// Model 870: no joining transitions (111..117) and no Mosaic (effect 5).
const QByteArray kModel870 =
    "[0870]\nDATA00=260096\nDATA01=0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=1\n";

class EffectToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ProgramFolder folder = BuiltProgramFolder();
        ASSERT_TRUE(pictures.Load(folder));
        captions.SelectLanguage(9);
        ASSERT_TRUE(captions.LoadCaptions(folder.SuppliedFile("cw20.cpt")));
        QFile file(dir.filePath("cw20dev.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kModel870);
        file.close();
        caps.SetPlayerId(1);
        caps.SetModelCode(870);
        ASSERT_TRUE(caps.Load());
        rules.SetMessageSink([this](const QString& text) { messages << text; });
        FillScenes(list, 3);
        list.SetModified(false);
        panel.resize(400, 54);
        panel.show();
        toolbar.CreateButtons();
    }

    EffectButton* Button(int i) const { return toolbar.button(i); }
    // The pointer moving over a widget (a button's face, its picture or the panel).
    static void MoveOver(QWidget* widget) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }
    static bool IsRaised(const EffectButton* b) {
        return b->frameShape() == QFrame::Panel && b->frameShadow() == QFrame::Raised;
    }
    static bool IsSunken(const EffectButton* b) {
        return b->frameShape() == QFrame::Panel && b->frameShadow() == QFrame::Sunken;
    }
    // True when the button shows the picture of `list` for its code.
    bool Shows(const EffectButton* b, const PictureList& list, int index) const {
        const QPixmap shown = b->picture()->pixmap();
        const QPixmap expected = list.Picture(index).pixmap(shown.deviceIndependentSize().toSize(),
                                                            shown.devicePixelRatio());
        return !shown.isNull() && shown.toImage() == expected.toImage();
    }

    QTemporaryDir dir;
    PictureLists pictures;
    CaptionTable captions;
    CDevCaps caps{dir.filePath("cw20dev.ini")};
    SceneList list;
    EffectRules rules{list, caps, captions};
    EditHistory history{list, captions};
    QWidget panel;
    EffectToolbar toolbar{&panel, pictures, captions, caps, rules, history};
    QStringList messages;
};

TEST_F(EffectToolbarTest,
       TwentyFourButtonsInTwoRowsWithTheirCodesHintsAndPicturesOfWhatThePlayerCanDo) {
    ASSERT_EQ(toolbar.buttonCount(), 24);
    const struct {
        int index, code, left, top, width;
        const char* hint;
    } expected[] = {
        {0, 1, 8, 8, 26, "Sepia"},
        {1, 2, 8, 28, 26, "Monochrome"},
        {4, 5, 60, 8, 26, "Mosaic"},
        {5, 0, 60, 28, 26, "No effect"},
        {6, 101, 102, 8, 26, "White fade"},
        {15, 110, 206, 28, 26, "Box out (to black)"},
        {16, 111, 232, 8, 34, "Overlap wipe from left"},
        {22, 117, 334, 8, 34, "Overlap (dissolve)"},
        {23, 100, 334, 28, 34, "Cut (no transition)"},
    };
    for (const auto& e : expected) {
        const EffectButton* b = Button(e.index);
        EXPECT_EQ(b->code(), e.code) << e.index;
        EXPECT_EQ(b->geometry(), QRect(e.left, e.top, e.width, 20)) << e.index;
        EXPECT_EQ(b->picture()->toolTip(), e.hint) << e.index;
        EXPECT_TRUE(b->isVisible()) << e.index;
    }
    // No two buttons overlap.
    for (int i = 0; i < 24; ++i)
        for (int j = i + 1; j < 24; ++j)
            EXPECT_FALSE(Button(i)->geometry().intersects(Button(j)->geometry())) << i << "/" << j;
    // Each shows the normal or greyed picture of what the player can do.
    for (int i = 0; i < 24; ++i) {
        const EffectButton* b = Button(i);
        const bool expectAvailable = !(i == 4 || (i >= 16 && i <= 22));
        EXPECT_EQ(b->isAvailable(), expectAvailable) << i;
        const bool transition = b->code() >= 100;
        const PictureList& list = transition
                                      ? (expectAvailable ? pictures.ilTrs : pictures.ilTrsDs)
                                      : (expectAvailable ? pictures.ilEffect : pictures.ilEffectDs);
        EXPECT_TRUE(Shows(b, list, transition ? b->code() - 100 : b->code())) << i;
    }
}

TEST_F(EffectToolbarTest, AGreyedButtonNeitherPressesNorHighlightsNorActsWhereAnAvailableOneSinks) {
    list.SelectOnly(1);
    EffectButton* greyed = Button(16);
    MoveOver(greyed);
    EXPECT_FALSE(IsRaised(greyed));
    EXPECT_EQ(toolbar.hotButton(), nullptr);
    QTest::mousePress(greyed, Qt::LeftButton);
    EXPECT_FALSE(IsSunken(greyed));
    EXPECT_EQ(greyed->picture()->pos(), QPoint(2, 1));
    QTest::mouseRelease(greyed, Qt::LeftButton);
    QTest::mouseClick(greyed->picture(), Qt::LeftButton);
    QTest::mouseClick(Button(4), Qt::LeftButton);
    EXPECT_EQ(list.row(1).transition, 0);
    EXPECT_EQ(list.row(1).effect, 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(list.modified());

    // An available one sinks its face while pressed.
    EffectButton* b = Button(0);
    const QPoint rest = b->picture()->pos();
    QTest::mousePress(b->picture(), Qt::LeftButton);
    EXPECT_TRUE(IsSunken(b));
    EXPECT_EQ(b->picture()->pos(), rest + QPoint(2, 2));
    QTest::mouseRelease(b->picture(), Qt::LeftButton);
    EXPECT_EQ(b->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(b->picture()->pos(), rest);
}

TEST_F(EffectToolbarTest, TheRaisedFaceFollowsThePointerAndSkipsGreyedButtons) {
    MoveOver(Button(0));
    EXPECT_TRUE(IsRaised(Button(0)));
    EXPECT_EQ(toolbar.hotButton(), Button(0));
    MoveOver(Button(1)->picture());  // over the picture counts as over its button
    EXPECT_FALSE(IsRaised(Button(0)));
    EXPECT_TRUE(IsRaised(Button(1)));
    EXPECT_EQ(toolbar.hotButton(), Button(1));
    MoveOver(Button(16));
    EXPECT_FALSE(IsRaised(Button(1)));
    EXPECT_FALSE(IsRaised(Button(16)));
    MoveOver(Button(1));  // back again: raised again
    EXPECT_TRUE(IsRaised(Button(1)));
    MoveOver(&panel);
    EXPECT_FALSE(IsRaised(Button(1)));
    EXPECT_EQ(toolbar.hotButton(), nullptr);
}

TEST_F(EffectToolbarTest, ClicksApplyTheButtonsCodeToTheSelectedScenes) {
    list.SelectOnly(1);
    list.AddToSelection(2);
    QTest::mouseClick(Button(1), Qt::LeftButton);  // Monochrome
    EXPECT_EQ(list.row(1).effect, 2);
    EXPECT_EQ(list.row(2).effect, 2);
    QTest::mouseClick(Button(10)->picture(), Qt::LeftButton);  // wipe from left, on the picture
    EXPECT_EQ(list.row(1).transition, 105);
    EXPECT_EQ(list.row(2).transition, 105);
    QTest::mouseClick(Button(23), Qt::LeftButton);
    QTest::mouseClick(Button(5), Qt::LeftButton);
    EXPECT_EQ(list.row(1).transition, 100);
    EXPECT_EQ(list.row(2).effect, 0);
    EXPECT_TRUE(list.modified());
    EXPECT_TRUE(messages.isEmpty());

    // Pressed on one button and released outside it is no click.
    QTest::mousePress(Button(0), Qt::LeftButton);
    QTest::mouseRelease(Button(0), Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(list.row(1).effect, 0);

    // The other mouse buttons lower the face but apply nothing, on the button or its picture.
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(Button(0), other);
        EXPECT_TRUE(Button(0)->isPressedDown());
        QTest::mouseRelease(Button(0), other);
        EXPECT_FALSE(Button(0)->isPressedDown());
        QTest::mouseClick(Button(10)->picture(), other);
    }
    EXPECT_EQ(list.row(1).effect, 0);
    EXPECT_EQ(list.row(1).transition, 100);
}

// A screen reader hears each button by its hint, greyed ones as unavailable, and presses it.
TEST_F(EffectToolbarTest, AssistiveTechnologiesSeeNamedButtonsAndPressThem) {
    list.SelectOnly(1);
    QAccessibleInterface* sepia = QAccessible::queryAccessibleInterface(Button(0));
    QAccessibleInterface* greyed = QAccessible::queryAccessibleInterface(Button(16));
    ASSERT_TRUE(sepia && greyed && sepia->actionInterface() && greyed->actionInterface());
    EXPECT_EQ(sepia->role(), QAccessible::Button);
    EXPECT_EQ(sepia->text(QAccessible::Name), "Sepia");
    EXPECT_EQ(greyed->text(QAccessible::Name), "Overlap wipe from left");
    EXPECT_FALSE(sepia->state().disabled);
    EXPECT_TRUE(greyed->state().disabled);
    greyed->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(list.row(1).transition, 0);
    sepia->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(list.row(1).effect, 1);
}

TEST_F(EffectToolbarTest, ClosingTheDeviceSetupWithoutAPlayerGreysAllButtons) {
    MoveOver(Button(0));
    EXPECT_FALSE(ApplyDeviceSetupToEffects(caps, toolbar, 0, nullptr));
    EXPECT_EQ(caps.ModelCode(), 0);
    EXPECT_EQ(caps.Category(), 0);
    EXPECT_EQ(toolbar.hotButton(), nullptr);
    for (int i = 0; i < 24; ++i) {
        const EffectButton* b = Button(i);
        EXPECT_FALSE(b->isAvailable()) << i;
        const bool transition = b->code() >= 100;
        EXPECT_TRUE(Shows(b, transition ? pictures.ilTrsDs : pictures.ilEffectDs,
                          transition ? b->code() - 100 : b->code()))
            << i;
    }
    list.SelectOnly(1);
    QTest::mouseClick(Button(5), Qt::LeftButton);
    QTest::mouseClick(Button(23), Qt::LeftButton);
    EXPECT_FALSE(list.modified());

    // Choosing a player of model 1240 (maker bytes 12 and 4x) makes everything available.
    QFile file(dir.filePath("cw20dev.ini"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("[1240]\nDATA00=0\nDATA01=0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=0\n");
    file.close();
    DeviceRecord player;
    player.id = 3;
    player.category = 7;
    player.maker = {0x42, 0x52, 0x00, 12, 45, 0x00};
    EXPECT_TRUE(ApplyDeviceSetupToEffects(caps, toolbar, 3, &player));
    EXPECT_EQ(caps.ModelCode(), 1240);
    for (int i = 0; i < 24; ++i)
        EXPECT_TRUE(Button(i)->isAvailable()) << i;
}

}  // namespace
