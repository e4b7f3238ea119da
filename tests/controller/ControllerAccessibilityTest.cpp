// The controller as assistive technologies and the keyboard reach it, against the simulated
// decks: keys are buttons named by their hints, lamp keys checked while lit, the pictures that act
// on a click are buttons that their press action, Space and Enter click, the jog lamp is checked
// while lit, the counter keeps its live text, and the Menu key opens the popup menu.
#include <QAccessible>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "ControllerFixture.h"
#include "controller/ControllerAccessible.h"
#include "controller/SkinKey.h"

namespace {

class ControllerAccessibilityTest : public ControllerFixture {
protected:
    void SetUp() override {
        InstallControllerAccessibility();  // as the program does before it makes any window
        ControllerFixture::SetUp();
        ctl->show();
        ASSERT_TRUE(WaitFor([&] { return ctl->remote().transportOn() && vtr->PowerOn(); }));
    }
    QAccessibleInterface* Seen(const char* name) const {
        return QAccessible::queryAccessibleInterface(ctl->findChild<QWidget*>(name));
    }
};

TEST_F(ControllerAccessibilityTest,
       KeysLampsAndPicturesAreNamedAndPressedAsButtonsAndTheMenuKeyWorks) {
    QAccessibleInterface* play = Seen("btnPlay");
    EXPECT_EQ(play->role(), QAccessible::Button);
    EXPECT_EQ(play->text(QAccessible::Name), "Play");
    EXPECT_EQ(Seen("btnFF")->text(QAccessible::Name), "Fast forward (search while playing)");
    EXPECT_TRUE(play->text(QAccessible::Accelerator).endsWith("2"));
    EXPECT_TRUE(Seen("btnStep")->text(QAccessible::Accelerator).endsWith("6"));  // in jog mode
    EXPECT_TRUE(Seen("btnSend")->text(QAccessible::Accelerator).isEmpty());
    EXPECT_TRUE(play->state().checkable);
    EXPECT_FALSE(Seen("btnSend")->state().checkable);

    PutDeck(1, ModePlay, 1000);
    EXPECT_TRUE(play->state().checked);
    EXPECT_FALSE(Seen("btnStop")->state().checked);
    ClearSent();
    Seen("btnStop")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(WaitFor([&] { return SentModes() == std::vector<int>{ModeStop}; }));

    // The PROGRAM cover opens by its press action and closes again by Space on its lid.
    QAccessibleInterface* cover = Seen("imgPgmCover");
    EXPECT_EQ(cover->role(), QAccessible::Button);
    EXPECT_EQ(cover->text(QAccessible::Name), "Open the PROGRAM keys");
    cover->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(ctl->cover(1)->isVisible());
    QWidget* lid = ctl->findChild<QWidget*>("imgPrgOpen");
    EXPECT_EQ(lid->focusPolicy(), Qt::TabFocus);
    QTest::keyClick(lid, Qt::Key_Space);
    EXPECT_TRUE(ctl->cover(1)->isVisible());

    // Enter on the dial switches to jog: the jog lamp lights.
    QAccessibleInterface* lamp = Seen("imgLumpPause");
    EXPECT_EQ(lamp->role(), QAccessible::Indicator);
    EXPECT_FALSE(lamp->state().checked);
    ASSERT_TRUE(ctl->remote().shuttle());
    QTest::keyClick(ctl->findChild<QWidget*>("imgJog"), Qt::Key_Return);
    EXPECT_FALSE(ctl->remote().shuttle());
    EXPECT_TRUE(lamp->state().checked);
    EXPECT_EQ(Seen("imgPtoR")->role(), QAccessible::Indicator);
    EXPECT_EQ(Seen("imgFPanel")->role(), QAccessible::Graphic);  // background, not a button

    QAccessibleInterface* counter = Seen("lblCounter");
    EXPECT_EQ(counter->text(QAccessible::Description), "Tape counter");
    EXPECT_EQ(counter->text(QAccessible::Name), ctl->findChild<QLabel*>("lblCounter")->text());

    // The menu key opens the popup menu.
    SkinKey* stop = ctl->key("btnStop");
    stop->setFocus();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2));
    QApplication::sendEvent(stop, &menuKey);
    ASSERT_TRUE(WaitFor([&] { return ctl->popupMenu()->isVisible(); }));
    ctl->popupMenu()->close();
}

}  // namespace
