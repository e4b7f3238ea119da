// The controller's transport half against the simulated decks: lamps, keys, wind hold, shuttle,
// keypad, record key and the deck views; the keyboard's way through the window and the covers.
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

#include "ControllerFixture.h"
#include "controller/SkinKey.h"

namespace {

constexpr int kTenMinutes = 10 * 60 * 30;  // frames at 30 fps

// The largest difference of one colour channel between two pictures of the same size.
int LargestDifference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    if (left.size() != right.size())
        return 255;
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

class TransportTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        ctl->show();
        ASSERT_TRUE(WaitFor([&] { return ctl->remote().transportOn() && vtr->PowerOn(); }));
        ASSERT_EQ(ctl->remote().view(), DeckRemote::View::Player);
    }

    // One key press to wherever the keyboard is in the window.
    void KeyToFocus(Qt::Key key) {
        QWidget* focus = ctl->focusWidget();
        QTest::keyClick(focus != nullptr ? focus : ctl.get(), key);
    }
    // The stops of one round of Tab from the window's own focus, by name.
    QStringList TabRound() {
        ctl->setFocus(Qt::OtherFocusReason);
        QStringList stops;
        for (int i = 0; i < 100; ++i) {
            KeyToFocus(Qt::Key_Tab);
            const QString stop = ctl->focusWidget()->objectName();
            if (stops.contains(stop))
                break;
            stops << stop;
        }
        return stops;
    }
};

TEST_F(TransportTest, LampsFollowTheDecksReportedModeForEveryMode) {
    const std::pair<int, const char*> table[] = {
        {1, "Stop"},       {0, "Stop"},       {2, "FF"},           {3, "Rev"},
        {5, "Pause"},      {6, "Play"},       {7, "Play<"},        {13, "Rec Pause"},
        {14, "Play Rec"},  {22, "Play Slow"}, {23, "Play< SlowR"}, {38, "Play FF"},
        {39, "Rev Play<"}, {5, "Pause"}};
    for (const auto& [mode, lamps] : table) {
        PutDeck(1, mode, kTenMinutes);
        EXPECT_EQ(LitLamps(), QString::fromLatin1(lamps)) << "mode " << mode;
    }
}

TEST_F(TransportTest, EachTransportKeySendsItsModeAndLightsItsLamps) {
    PutDeck(1, 1, kTenMinutes);
    const std::tuple<const char*, int, const char*> keys[] = {
        {"btnPlay", 6, "Play"},          {"btnPause", 5, "Pause"}, {"btnSlow", 22, "Play Slow"},
        {"btnSlowR", 23, "Play< SlowR"}, {"btnStop", 1, "Stop"},   {"btnFF", 2, "FF"},
        {"btnStop", 1, "Stop"},          {"btnRev", 3, "Rev"},     {"btnEject", 0, "Stop"}};
    std::vector<int> shown;
    QObject watching;
    QObject::connect(&ctl->remote(), &DeckRemote::modeShown, &watching,
                     [&](int m) { shown.push_back(m); });
    for (const auto& [name, mode, lamps] : keys) {
        ClearSent();
        shown.clear();
        ClickKey(name);
        EXPECT_EQ(SentModes(), std::vector<int>{mode}) << name;
        // The answer of an accepted command lights its lamps before any poll reports the mode.
        ASSERT_FALSE(shown.empty()) << name;
        EXPECT_EQ(shown.front(), mode) << name;
        EXPECT_TRUE(WaitFor([&] { return vtr->Mode() == mode; })) << name;
        EXPECT_TRUE(WaitFor([&] { return LitLamps() == QString::fromLatin1(lamps); })) << name;
    }
}

TEST_F(TransportTest, APressReturnsBeforeItsAnswerWhichLightsTheLampsAndRefusesPressesMeanwhile) {
    PutDeck(1, 1, kTenMinutes);
    ClearSent();
    // Clicked without waiting: the answer is a queued call, so nothing of it can have come.
    QTest::mouseClick(ctl->key(QStringLiteral("btnPlay")), Qt::LeftButton);
    EXPECT_TRUE(ctl->remote().commandPending());
    EXPECT_EQ(LitLamps(), QStringLiteral("Stop"));
    EXPECT_EQ(ctl->cursor().shape(), Qt::BusyCursor);
    QTest::mouseClick(ctl->key(QStringLiteral("btnFF")), Qt::LeftButton);
    std::vector<int> shown;
    QObject watching;
    QObject::connect(&ctl->remote(), &DeckRemote::modeShown, &watching,
                     [&](int m) { shown.push_back(m); });
    AwaitAnswer();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 6) << "the answer lights Play";
    EXPECT_NE(ctl->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(SentModes(), std::vector<int>{6})
        << "FF, pressed while Play was in flight, sent nothing";
}

TEST_F(TransportTest, AWindKeyHeldOverTwoSecondsReturnsToTheModeItLeft) {
    // A short press leaves the deck searching; a hold past two seconds is a momentary search.
    struct Hold {
        int from;
        const char* key;
        int heldMs;
        std::vector<int> sent;
    };
    const Hold holds[] = {
        {5, "btnFF", 3000, {38, 5}}, {5, "btnFF", 1500, {38}}, {6, "btnRev", 2500, {39, 6}}};
    for (const Hold& hold : holds) {
        SCOPED_TRACE(testing::Message() << hold.key << " held " << hold.heldMs << " ms");
        PutDeck(1, hold.from, kTenMinutes);
        ClearSent();
        Press(hold.key);
        clock.Skip(hold.heldMs);
        Release(hold.key);
        EXPECT_EQ(SentModes(), hold.sent);
        EXPECT_TRUE(WaitFor([&] { return vtr->Mode() == hold.sent.back(); }));
    }
}

TEST_F(TransportTest, ShuttleStepsAlongTheLadderOfSpeedsAndFallsBackWhenAStepIsRefused) {
    ASSERT_TRUE(ctl->remote().shuttle());
    // From play towards reverse the deck pauses first; the fast end of the ladder goes no further.
    const std::tuple<int, const char*, std::vector<int>> steps[] = {
        {6, "btnJogR", {5, 22}}, {23, "btnJogR", {7}}, {38, "btnJogF", {}}};
    for (const auto& [from, key, sent] : steps) {
        SCOPED_TRACE(testing::Message() << key << " from mode " << from);
        PutDeck(1, from, kTenMinutes);
        ClearSent();
        Press(key);
        Release(key);
        EXPECT_EQ(SentModes(), sent);
        if (!sent.empty()) {
            EXPECT_TRUE(WaitFor([&] { return vtr->Mode() == sent.back(); }));
        }
    }

    // From slow reverse, a refused reverse play falls back to reverse search.
    PutDeck(1, 23, kTenMinutes);
    // No poll may take the refusal meant for the reverse play command.
    vtr->StopPolling();
    sim->InjectNext(tarnsim::FaultKind::Refusal);
    ClearSent();
    Press("btnJogR");
    Release("btnJogR");
    EXPECT_EQ(SentModes(), (std::vector<int>{7, 39}));
}

TEST_F(TransportTest, StepKeysAndJogModeStepWhenPausedAndJogPausesOtherwise) {
    PutDeck(1, 5, kTenMinutes);
    ClickKey("btnStep");
    EXPECT_TRUE(WaitFor([&] { return vtr->Counter() == kTenMinutes + 1; }));
    ClickKey("btnStepR");
    ClickKey("btnStepR");
    EXPECT_TRUE(WaitFor([&] { return vtr->Counter() == kTenMinutes - 1; }));

    // A click inside the dial toggles to jog mode (and pauses the player).
    QLabel* dial = ctl->picture(QStringLiteral("imgJog"));
    QTest::mouseClick(dial, Qt::LeftButton, {}, QPoint(36, 36));
    AwaitAnswer();
    ASSERT_FALSE(ctl->remote().shuttle());
    PutDeck(1, 6, kTenMinutes);
    ClearSent();
    Press("btnJogF");
    EXPECT_EQ(SentModes(), std::vector<int>{5});
    ASSERT_TRUE(WaitFor([&] { return vtr->Mode() == 5; }));
    const int32_t at = vtr->Counter();
    Press("btnJogF");
    EXPECT_TRUE(WaitFor([&] { return vtr->Counter() == at + 1; }));
}

TEST_F(TransportTest, DialPressOutsideTheCircleDoesNothingAndReleaseOutsideOnlyRestores) {
    QLabel* dial = ctl->picture(QStringLiteral("imgJog"));
    const QPoint home = dial->pos();
    const int sounds0 = sounds->PlayedCount();
    QTest::mouseClick(dial, Qt::LeftButton, {}, QPoint(1, 1));  // a corner: outside
    EXPECT_TRUE(ctl->remote().shuttle());
    EXPECT_EQ(sounds->PlayedCount(), sounds0);

    QTest::mousePress(dial, Qt::LeftButton, {}, QPoint(36, 36));
    EXPECT_EQ(dial->pos(), home + QPoint(1, 2));
    QTest::mouseRelease(dial, Qt::LeftButton, {}, QPoint(71, 71));
    EXPECT_EQ(dial->pos(), home);
    EXPECT_TRUE(ctl->remote().shuttle());
    EXPECT_EQ(sounds->PlayedCount(), sounds0 + 2);

    // Right-clicks open the popup menu, whose release the dial never sees: they leave it alone.
    for (int i = 0; i < 2; ++i) {
        QTest::mousePress(dial, Qt::RightButton, {}, QPoint(36, 36));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(36, 36),
                               dial->mapToGlobal(QPoint(36, 36)));
        QApplication::sendEvent(dial, &menu);
        EXPECT_TRUE(ctl->popupMenu()->isVisible());
        ctl->popupMenu()->close();
        EXPECT_EQ(dial->pos(), home);
    }
    EXPECT_EQ(sounds->PlayedCount(), sounds0 + 2);
}

TEST_F(TransportTest, KeypadPlusHeldRepeatsTwoPlaysOnceAndThreeIsAMomentarySearch) {
    for (int i = 0; i < 5; ++i)
        scenes.AddRow(SceneList::RowKind::Scene);
    scenes.SelectOnly(0);
    KeypadPress(Qt::Key_Plus);
    KeypadPress(Qt::Key_Plus, true);
    KeypadPress(Qt::Key_Plus, true);
    KeypadRelease(Qt::Key_Plus);
    EXPECT_EQ(scenes.current(), 3);

    PutDeck(1, 5, kTenMinutes);
    ClearSent();
    SkinKey* play = ctl->key(QStringLiteral("btnPlay"));
    KeypadPress(Qt::Key_2);
    KeypadPress(Qt::Key_2, true);
    KeypadPress(Qt::Key_2, true);
    EXPECT_TRUE(play->isDown()) << "the key shows pressed while its keypad key is held";
    KeypadRelease(Qt::Key_2);
    EXPECT_FALSE(play->isDown());
    EXPECT_EQ(SentModes(), std::vector<int>{6});

    // Three held past two seconds is a momentary search.
    PutDeck(1, 6, kTenMinutes);
    ClearSent();
    KeypadPress(Qt::Key_3);
    clock.Skip(2100);
    KeypadPress(Qt::Key_3, true);
    KeypadRelease(Qt::Key_3);
    EXPECT_EQ(SentModes(), (std::vector<int>{38, 6}));
}

TEST_F(TransportTest, RecordKeyActsOnlyOnTheRecorder) {
    SkinKey* rec = ctl->key(QStringLiteral("btnRec"));
    EXPECT_FALSE(rec->isEnabled());
    ClearSent();
    emit rec->pressed();  // even a press that reaches it sends nothing to the player
    EXPECT_TRUE(SentModes(1).empty());

    ctl->remote().SelectView(DeckRemote::View::Recorder);
    ASSERT_TRUE(WaitFor([&] { return vtr->PowerOn() && ctl->remote().transportOn(); }));
    PutDeck(2, 1, 1000);
    EXPECT_TRUE(rec->isEnabled());
    ClearSent();
    ClickKey("btnRec");
    EXPECT_EQ(SentModes(2), std::vector<int>{13});
    EXPECT_TRUE(WaitFor([&] { return LitLamps() == QStringLiteral("Rec Pause"); }));
    ASSERT_TRUE(WaitFor([&] { return vtr->Mode() == 13; }));
    ClickKey("btnPlay");  // play out of rec-pause records
    EXPECT_EQ(SentModes(2), (std::vector<int>{13, 14}));
    ASSERT_TRUE(WaitFor([&] { return vtr->Mode() == 14; }));
    ClickKey("btnPause");  // pause while recording goes back to rec-pause
    EXPECT_EQ(SentModes(2), (std::vector<int>{13, 14, 13}));
}

TEST_F(TransportTest, PlayerKeyAlternatesViewsOnlyWithBothDecksSet) {
    SkinKey* swap = ctl->key(QStringLiteral("btnPlayer"));
    ASSERT_TRUE(swap->isEnabled());
    // The deck changes on the link thread, between two polls.
    ClickKey("btnPlayer");
    EXPECT_EQ(ctl->remote().view(), DeckRemote::View::Recorder);
    EXPECT_TRUE(WaitFor([&] { return vtr->Id() == 2; }));
    ClickKey("btnPlayer");
    EXPECT_EQ(ctl->remote().view(), DeckRemote::View::Player);
    EXPECT_TRUE(WaitFor([&] { return vtr->Id() == 1; }));

    devices->recorder = 0;
    ctl->remote().ConnectDefault();
    EXPECT_FALSE(swap->isEnabled());
    ClickKey("btnPlayer");
    EXPECT_EQ(ctl->remote().view(), DeckRemote::View::Player);

    // The recorder's view without a recorder: only the view number changes, and the lamps keep
    // showing the player, which is still driven.
    PutDeck(1, 6, kTenMinutes);
    ASSERT_TRUE(WaitFor([&] { return LitLamps() == QStringLiteral("Play"); }));
    ctl->remote().SelectView(DeckRemote::View::Recorder);
    EXPECT_EQ(ctl->remote().view(), DeckRemote::View::Recorder);
    EXPECT_EQ(vtr->Id(), 1);
    EXPECT_EQ(LitLamps(), QStringLiteral("Play"));
    QTest::qWait(300);  // a few status reports later
    EXPECT_EQ(LitLamps(), QStringLiteral("Play"));
}

TEST_F(TransportTest, PowerOffGreysTheLabelsAndDisablesTransport) {
    PutDeck(1, 6, kTenMinutes);
    sim->SetPower(1, false);
    ASSERT_TRUE(WaitFor([&] { return !ctl->remote().transportOn(); }, 10000));
    EXPECT_EQ(LitLamps(), QString());
    EXPECT_FALSE(ctl->key(QStringLiteral("btnPlay"))->isEnabled());
    EXPECT_EQ(ctl->remote().shownMode(), 15);
    sim->SetPower(1, true);
    EXPECT_TRUE(WaitFor([&] { return ctl->remote().transportOn(); }, 10000));
    EXPECT_EQ(qobject_cast<SkinKey*>(QApplication::focusWidget()), nullptr)
        << "the power report put the focus on a key";
}

TEST_F(TransportTest, SpaceReachesTheDeckOnlyThroughAKeyTabbedTo) {
    PutDeck(1, 1, kTenMinutes);
    ctl->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ctl.get()));
    // Space where the keyboard is, then the modes the deck got from it: three polls later any
    // command sent has been sent.
    auto spaceSends = [&] {
        ClearSent();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : ctl.get(), Qt::Key_Space);
        auto polls = [&] {
            const auto entries = sim->TranscriptEntries();
            return std::count_if(entries.begin(), entries.end(), [](const auto& entry) {
                return entry.kind == tarnsim::TranscriptEntry::Kind::Request;
            });
        };
        EXPECT_TRUE(WaitFor([&] { return polls() >= 3; }));
        return SentModes();
    };
    EXPECT_EQ(spaceSends(), std::vector<int>{}) << "after the connect";
    ctl->remote().SelectView(DeckRemote::View::Recorder);
    ctl->remote().SelectView(DeckRemote::View::Player);
    EXPECT_EQ(spaceSends(), std::vector<int>{}) << "after connecting again";
    ClickKey("btnPause");
    EXPECT_EQ(spaceSends(), std::vector<int>{}) << "after a click on Pause";
    ctl->key(QStringLiteral("btnPause"))->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(spaceSends(), std::vector<int>{5}) << "on Pause, tabbed to";
    ctl->key(QStringLiteral("btnStop"))->setFocus(Qt::TabFocusReason);
    AwaitAnswer();
    ClearSent();
    QTest::keyClick(ctl->key(QStringLiteral("btnStop")), Qt::Key_Return);
    EXPECT_TRUE(WaitFor([&] { return SentModes() == std::vector<int>{ModeStop}; }))
        << "Enter on Stop, tabbed to";
}

TEST_F(TransportTest, TabVisitsTheTopBandThenEachBlockLeftToRightAndTopToBottom) {
    ctl->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ctl.get()));
    // Every key on, so that the round shows the whole order; the covers decide the rest.
    for (SkinKey* key : ctl->findChildren<SkinKey*>())
        key->setEnabled(true);
    const QStringList before = {
        "imgDeckp", "imgDeckr", "btnPlayer", "btnMin",  "btnClose", "btnStepR", "btnSlowR",
        "btnEject", "btnSlow",  "btnStep",   "btnRev",  "btnPlay",  "btnFF",    "btnStop",
        "btnPause", "btnRec",   "imgJog",    "btnJogR", "btnJogF",  "btnEntry", "btnSin",
        "btnSout",  "btnTrimM", "btnTrimP",  "btnSup",  "btnSdown", "btnSend"};
    const QStringList closed = before + QStringList{"imgPgmCover", "imgRecCover"};
    EXPECT_EQ(TabRound().join(' '), closed.join(' ')) << "covers closed";
    QTest::mouseClick(ctl->picture(QStringLiteral("imgPgmCover")), Qt::LeftButton);
    QTest::mouseClick(ctl->picture(QStringLiteral("imgRecCover")), Qt::LeftButton);
    const QStringList open =
        before + QStringList{"imgPrgOpen",  "btnGoto",    "btnPreview", "btnAutoRec", "btnReview",
                             "btnProgEdit", "imgRecOpen", "btnPreroll", "btnEdit"};
    EXPECT_EQ(TabRound().join(' '), open.join(' ')) << "covers open";
}

TEST_F(TransportTest, AClosedCoverKeepsItsKeysFromTheKeyboardAndAssistiveTechnologies) {
    std::vector<AutoKind> started;
    ctl->SetOperations([&](AutoKind kind) { started.push_back(kind); }, {});
    AddScene("00:01:00:00", "00:01:10:00");
    scenes.SelectOnly(1);
    SkinKey* autoRec = ctl->key(QStringLiteral("btnAutoRec"));
    ASSERT_TRUE(autoRec->isEnabled());
    ASSERT_TRUE(ctl->key(QStringLiteral("btnProgEdit"))->isEnabled());
    ctl->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ctl.get()));

    // Space on the closed PROGRAM lid leaves it closed, and no round of Tab finds its keys.
    const QStringList round = TabRound();
    EXPECT_FALSE(round.contains("btnAutoRec"));
    EXPECT_FALSE(round.contains("btnProgEdit"));
    ctl->picture(QStringLiteral("imgPgmCover"))->setFocus(Qt::TabFocusReason);
    KeyToFocus(Qt::Key_Space);
    EXPECT_FALSE(ctl->coverOpen(1));
    KeyToFocus(Qt::Key_Tab);
    EXPECT_EQ(ctl->focusWidget()->objectName(), "imgRecCover");
    // Assistive technologies are offered nothing to press under the cover.
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(autoRec);
    EXPECT_TRUE(seen->actionInterface()->actionNames().isEmpty());
    seen->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(300);  // a press action clicks a moment later
    EXPECT_TRUE(started.empty());

    // Enter on the lid opens it deliberately; the focus stays on the cover, and Tab goes on
    // into the keys it uncovered.
    ctl->picture(QStringLiteral("imgPgmCover"))->setFocus(Qt::TabFocusReason);
    KeyToFocus(Qt::Key_Return);
    ASSERT_TRUE(ctl->coverOpen(1));
    EXPECT_EQ(ctl->focusWidget()->objectName(), "imgPrgOpen");
    for (const char* stop : {"btnGoto", "btnPreview", "btnAutoRec"}) {
        KeyToFocus(Qt::Key_Tab);
        EXPECT_EQ(ctl->focusWidget()->objectName(), stop);
    }
    KeyToFocus(Qt::Key_Space);
    EXPECT_EQ(started, std::vector<AutoKind>{AutoKind::AutoRec});

    // Closed again (by its press action) with the focus on a key under it, the focus returns
    // to the lid.
    ctl->key(QStringLiteral("btnProgEdit"))->setFocus(Qt::TabFocusReason);
    QAccessible::queryAccessibleInterface(ctl->picture(QStringLiteral("imgPrgOpen")))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(ctl->coverOpen(1));
    EXPECT_EQ(ctl->focusWidget()->objectName(), "imgPgmCover");
}

TEST_F(TransportTest, AWindowHeldDisabledGreysItsKeysButKeepsLitLampsAndPictures) {
    PutDeck(1, 6, kTenMinutes);
    // What the window shows where the widget is. Edges blend with the window's background,
    // whose shade a disabled window changes slightly; a greyed picture differs by far more.
    auto looks = [&](QWidget* widget) {
        return ctl->grab(QRect(widget->mapTo(ctl.get(), QPoint(0, 0)), widget->size())).toImage();
    };
    constexpr int kSameLook = 16;
    SkinKey* play = ctl->key(QStringLiteral("btnPlay"));
    SkinKey* record = ctl->key(QStringLiteral("btnRec"));  // off on the player's view
    SkinKey* stop = ctl->key(QStringLiteral("btnStop"));   // on, its lamp out
    QLabel* player = ctl->picture(QStringLiteral("imgDeckp"));
    const QImage litPlay = looks(play), litPlayer = looks(player), offRecord = looks(record);
    const QImage liveStop = looks(stop);
    ctl->setEnabled(false);
    EXPECT_LE(LargestDifference(looks(play), litPlay), kSameLook);
    EXPECT_LE(LargestDifference(looks(player), litPlayer), kSameLook);
    EXPECT_LE(LargestDifference(looks(record), offRecord), kSameLook);
    EXPECT_GT(LargestDifference(looks(stop), liveStop), 4 * kSameLook)
        << "a key whose lamp is out must not look pressable in a held window";
    ctl->setEnabled(true);
    EXPECT_LE(LargestDifference(looks(stop), liveStop), kSameLook);
    play->setEnabled(false);
    EXPECT_GT(LargestDifference(looks(play), litPlay), 4 * kSameLook) << "a key off on its own";
}

TEST_F(TransportTest, CoversOpenAndCloseWithASoundAndDraggingTheBackgroundMovesTheWindow) {
    QWidget* cover = ctl->cover(1);
    QLabel* lid = ctl->picture(QStringLiteral("imgPgmCover"));
    QLabel* opened = ctl->picture(QStringLiteral("imgPrgOpen"));
    const int sounds0 = sounds->PlayedCount();
    QTest::mouseClick(lid, Qt::LeftButton);
    EXPECT_FALSE(cover->isVisible());
    EXPECT_TRUE(opened->isVisible());
    QTest::mouseClick(opened, Qt::LeftButton);
    EXPECT_TRUE(cover->isVisible());
    EXPECT_FALSE(opened->isVisible());
    EXPECT_EQ(sounds->PlayedCount(), sounds0 + 2);

    // Dragging the background moves the window.
    const QPoint start = ctl->pos();
    QLabel* panel = ctl->picture(QStringLiteral("imgFPanel"));
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(100, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 50), panel->mapToGlobal(QPointF(130, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(130, 50));
    EXPECT_EQ(ctl->pos(), start + QPoint(30, 40));
}

TEST_F(TransportTest, CloseStopsPollingAndClosesThePortAndWithoutAPlayerTheSetupOpensAfterShow) {
    ctl->close();
    EXPECT_FALSE(vtr->IsPolling());
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(ctl->remote().transportOn());

    devices->playerKnown = false;
    ctl->show();
    EXPECT_TRUE(ctl->deviceTimer().isActive());
    EXPECT_TRUE(WaitFor([&] { return devices->setupShown == 1; }));
    EXPECT_TRUE(WaitFor([&] { return ctl->remote().transportOn(); }));
}

TEST_F(TransportTest, TheDeviceSetupPausesThePollingAndReconnectsWhenItPolledOrHadNoDeck) {
    bool pollingDuringSetup = true;
    struct Case {
        const char* name;
        std::function<void()> before;
        bool pollsAfter;
    };
    const Case cases[] = {
        {"polling", [] {}, true},
        {"polling, window hidden", [&] { ctl->hide(); }, false},
        {"connected, not polling", [&] { vtr->StopPolling(); }, false},
        // No player was chosen; the user chooses one in the dialog.
        {"no deck",
         [&] {
             devices->player = 0;
             ctl->remote().ConnectDefault();
             vtr->StopPolling();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ctl->show();
        ctl->remote().ConnectDefault();
        ASSERT_TRUE(vtr->IsPolling());
        c.before();
        devices->duringSetup = [&] {
            pollingDuringSetup = vtr->IsPolling();
            devices->player = 1;
        };
        ctl->RunDeviceSetup();
        EXPECT_FALSE(pollingDuringSetup);
        EXPECT_EQ(vtr->IsPolling(), c.pollsAfter);
    }
}

}  // namespace
