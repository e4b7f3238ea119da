// The controller's editing keys against the simulated tape: Entry marks scenes from the
// counter, the thirty-second rule, Trim's repeat and the list's change notices reaching the keys.
#include <QLabel>
#include <QTest>

#include "ControllerFixture.h"
#include "controller/KeyAutoRepeat.h"
#include "controller/SkinKey.h"

namespace {

constexpr int kMinute = 60 * 30;  // frames at 30 fps

class EditKeysTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        ctl->show();
        ASSERT_TRUE(WaitFor([&] { return ctl->remote().transportOn() && vtr->PowerOn(); }));
    }
    SkinKey* Key(const char* name) const { return ctl->key(QLatin1String(name)); }
};

TEST_F(EditKeysTest, EntryMarksASceneFromTheCounterFromThirtySecondsOnInThePlayersView) {
    PutDeck(1, 5, 29 * 30);
    ASSERT_TRUE(WaitFor([&] { return vtr->Counter() == 29 * 30; }));
    EXPECT_FALSE(Key("btnEntry")->isEnabled());
    KeypadPress(Qt::Key_0);
    KeypadRelease(Qt::Key_0);
    EXPECT_EQ(scenes.count(), 1);

    ASSERT_TRUE(sim->SetDeckPosition(1, kMinute));
    ASSERT_TRUE(WaitFor([&] { return vtr->Counter() == kMinute && Key("btnEntry")->isEnabled(); }));
    KeypadPress(Qt::Key_0);
    KeypadRelease(Qt::Key_0);
    ASSERT_EQ(scenes.count(), 2);
    EXPECT_EQ(scenes.row(1).inFrames, kMinute);
    EXPECT_EQ(scenes.row(1).pointMarks, kInPointMarked);
    EXPECT_TRUE(Key("btnTrimM")->isEnabled());

    ASSERT_TRUE(sim->SetDeckPosition(1, kMinute + 21));
    ASSERT_TRUE(WaitFor([&] { return vtr->Counter() == kMinute + 21; }));
    ClickKey("btnEntry");
    EXPECT_EQ(scenes.count(), 2);
    EXPECT_EQ(scenes.row(1).pointMarks, kOutPointMarked);
    EXPECT_EQ(scenes.row(1).durationFrames, 21);
    EXPECT_EQ(ctl->findChild<QLabel*>(QStringLiteral("lblScene"))->text(),
              QStringLiteral("SCENE 01"));

    ctl->remote().SelectView(DeckRemote::View::Recorder);
    EXPECT_FALSE(Key("btnEntry")->isEnabled());
}

TEST_F(EditKeysTest, TrimHeldForASecondMovesAboutTenFramesAndAClickExactlyOne) {
    AddScene("00:01:00:00", "00:02:00:00");
    ClickKey("btnSin");
    ASSERT_TRUE(Key("btnTrimP")->isEnabled());
    ClickKey("btnTrimP");
    EXPECT_EQ(scenes.row(1).inFrames, kMinute + 1);

    Press("btnTrimM");
    // A power report in the middle of the hold must not let go of the key.
    sim->SetPower(1, false);
    sim->SetPower(1, true);
    QTest::qWait(1000);
    Release("btnTrimM");
    const int moved = kMinute + 1 - scenes.row(1).inFrames;
    // Ten 100 ms ticks in a second; a loaded machine may lose a few, never add a release step.
    EXPECT_GE(moved, 5);
    EXPECT_LE(moved, 11);
    EXPECT_FALSE(ctl->autoRepeat().timer().isActive());
    const int32_t after = scenes.row(1).inFrames;
    QTest::qWait(250);
    EXPECT_EQ(scenes.row(1).inFrames, after);
}

// The keys change the list as steps of its history: In is one, and a click on Trim with a hold
// of the other Trim key right after it on the same point is another.
class ControllerUndoTest : public EditKeysTest {};

TEST_F(ControllerUndoTest, InAndTrimsOfItsPointAreTwoStepsThatUndoToTheRowAsItWas) {
    AddScene("00:01:00:00", "00:02:00:00");
    const SceneListState start = scenes.State();
    ClickKey("btnSin");
    ClickKey("btnTrimP");
    Press("btnTrimM");
    QTest::qWait(500);
    Release("btnTrimM");
    ASSERT_NE(scenes.row(1).inText, QStringLiteral("00:01:00:00"));
    ASSERT_EQ(history.stack().count(), 2);
    EXPECT_EQ(history.stack().undoText(), QStringLiteral("Trim"));
    history.Undo();
    EXPECT_EQ(scenes.row(1).inText, QStringLiteral("00:01:00:00"));
    EXPECT_EQ(scenes.row(1).pointMarks, kInPointMarked);
    history.Undo();
    EXPECT_EQ(scenes.State(), start);
    EXPECT_FALSE(Key("btnTrimM")->isEnabled()) << "the keys show the restored row";
}

TEST_F(EditKeysTest, ListChangesReachTheKeysAndARefusedDropSendsNone) {
    EXPECT_FALSE(Key("btnAutoRec")->isEnabled());
    AddScene("00:01:00:00", "00:01:10:00");
    EXPECT_TRUE(Key("btnAutoRec")->isEnabled());
    EXPECT_TRUE(Key("btnGoto")->isEnabled());
    EXPECT_TRUE(Key("btnPreview")->isEnabled());

    int notices = 0;
    QObject::connect(&scenes, &SceneList::selectionChanged, [&] { ++notices; });
    QObject::connect(&scenes, &SceneList::rowsChanged, [&] { ++notices; });
    EXPECT_FALSE(scenes.DropOnRow(0, SceneList::kKeyModeNone));
    EXPECT_EQ(notices, 0);

    scenes.SelectOnly(0);
    EXPECT_FALSE(Key("btnGoto")->isEnabled());
    EXPECT_EQ(ctl->findChild<QLabel*>(QStringLiteral("lblScene"))->text(),
              QStringLiteral("SCENE 00"));
}

TEST_F(EditKeysTest, SendSelectsTheLastRowAndAsksTheListToShowItsEnd) {
    for (int i = 0; i < 4; ++i)
        scenes.AddRow(SceneList::RowKind::Scene);
    scenes.SelectOnly(1);
    int endRequests = 0;
    QObject::connect(ctl.get(), &TfrmAvCtl::listEndRequested, [&] { ++endRequests; });
    ClickKey("btnSend");
    EXPECT_EQ(scenes.current(), 4);
    EXPECT_EQ(endRequests, 1);
    EXPECT_FALSE(Key("btnSend")->isEnabled());
}

TEST_F(EditKeysTest, PrerollAndEditNeedThePlayerPausedPastThirtySecondsInItsView) {
    ASSERT_TRUE(sim->SetDeckPosition(2, 10 * kMinute));
    ASSERT_TRUE(sim->SetDeckMode(2, 13));
    PutDeck(1, 6, kMinute);
    EXPECT_FALSE(Key("btnPreroll")->isEnabled());
    PutDeck(1, 5, kMinute);
    EXPECT_TRUE(Key("btnPreroll")->isEnabled());
    EXPECT_TRUE(Key("btnEdit")->isEnabled());
    PutDeck(1, 6, kMinute);
    EXPECT_FALSE(Key("btnEdit")->isEnabled());

    // Both decks paused: the pause lamp stays lit across the view changes.
    PutDeck(1, 5, kMinute);
    ctl->remote().SelectView(DeckRemote::View::Recorder);
    ASSERT_TRUE(WaitFor([&] { return ctl->remote().shownMode() == 13; }));
    EXPECT_EQ(LitLamps(), QStringLiteral("Rec Pause"));
    EXPECT_FALSE(Key("btnPreroll")->isEnabled());
    EXPECT_FALSE(Key("btnEdit")->isEnabled());
    ctl->remote().SelectView(DeckRemote::View::Player);
    ASSERT_TRUE(WaitFor([&] { return ctl->remote().shownMode() == 5; }));
    EXPECT_EQ(LitLamps(), QStringLiteral("Pause"));
    EXPECT_TRUE(Key("btnPreroll")->isEnabled());
    EXPECT_TRUE(Key("btnEdit")->isEnabled());
}

}  // namespace
