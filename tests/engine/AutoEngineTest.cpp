// Goto, Preview, Edit and Review in virtual time, judged by where the decks end up, what the
// engine showed and which commands went on the bus. Where they land to the frame at each counting
// mode is EngineLandingTest's; these follow what each operation does on its way.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "EngineFixture.h"
#include "VirtualEngine.h"

namespace {

constexpr BenchLatencies kDecks{9, 31, 52, 17, 13, 0, 0};

class AutoEngineTest : public ::testing::Test {
protected:
    void SetUp() override { Serve(Frames("00:01:00:00")); }
    void Serve(int playerAt, int recorderAt = 900) {
        e = std::make_unique<VirtualEngine>();
        std::string error;
        ASSERT_TRUE(e->Serve(LatencyBench(kDecks, playerAt, recorderAt), Fps30, &error)) << error;
        e->host->options = OptionsFor(kDecks);
    }
    int Sent(int id, std::initializer_list<uint8_t> command = {}) const {
        return e->Sent(id, command);
    }
    // Where the row before the current one carries `transition`, Preview's transition prepare
    // and run in go out for the transition the player previews it with.
    void Preview(int transition) {
        e->bench.sim->ClearTranscript();
        e->SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:02:00"), 0, transition),
                      SceneRow(Frames("00:01:20:00"), Frames("00:01:23:00"))},
                     2);
        EXPECT_EQ(e->Run(AutoKind::Preview), AutoResult::Finished) << transition;
    }

    std::unique_ptr<VirtualEngine> e;
};

TEST_F(AutoEngineTest, GotoSearchesTowardsTheInPointAndEndsItsSearchBeforeIt) {
    struct Case {
        const char* what;
        int playerAt;
        std::initializer_list<uint8_t> search, otherSearch;
        int searchEnd;  // frames before the in point
    };
    const int in = Frames("00:01:30:00");
    // A forward search ends the search distance before the in point, a reverse one 150 frames
    // before it, whatever the search distance.
    const Case cases[] = {
        {"far ahead", Frames("00:01:00:00"), {0x08, 0x43, 0x21}, {0x08, 0x43, 0x25}, 300},
        {"behind", Frames("00:02:00:00"), {0x08, 0x43, 0x25}, {0x08, 0x43, 0x21}, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Serve(c.playerAt);
        e->SetScenes({SceneRow(in, in + 90)});
        // Where the player searched at the step check that told it to play.
        int searchEndedAt = -1;
        e->host->stopWhen = [&] {
            const tarnsim::DeviceState player = e->Deck(kPlayerId);
            if (player.pendingMode == ModeForwardSearch || player.pendingMode == ModeReverseSearch)
                searchEndedAt = player.position;
            return false;
        };
        ASSERT_EQ(e->Run(AutoKind::Goto), AutoResult::Finished) << e->Log();

        EXPECT_EQ(e->Deck(kPlayerId).position, in);
        EXPECT_GT(Sent(kPlayerId, c.search), 0);
        EXPECT_EQ(Sent(kPlayerId, c.otherSearch), 0);
        // Searching, the player covers many frames between two polls: within 60 frames, well
        // below the 150 that tell the two ends apart.
        EXPECT_NEAR(searchEndedAt, in - c.searchEnd, 60);
        EXPECT_EQ(Sent(kRecorderId), 0);
        EXPECT_TRUE(e->host->Log().contains("information: Automatic editing has finished."));
    }
}

TEST_F(AutoEngineTest, PreviewBeepsAtTheCorrectedPointsAndNeverTouchesTheRecorder) {
    const int in = Frames("00:01:20:00"), out = in + 120;
    e->SetScenes({SceneRow(in, out)});
    std::vector<int> beepPositions;
    e->host->onEvent = [&](const QString& entry) {
        if (entry == "beep")
            beepPositions.push_back(e->Deck(kPlayerId).position);
    };
    // The host hears the engine on its own thread: each step check waits until the host has
    // taken in what the engine gave it, so a beep is heard by the step check after its moment.
    e->host->stopWhen = [&] {
        QMetaObject::invokeMethod(
            e->engine.get(), [] {}, Qt::BlockingQueuedConnection);
        return false;
    };

    EXPECT_EQ(e->Run(AutoKind::Preview), AutoResult::Finished);

    EXPECT_EQ(Sent(kRecorderId), 0);
    ASSERT_EQ(beepPositions.size(), 2u);
    // The moments lie half a frame and a frame after the corrected points, and the player moves
    // on by about a frame until the next step check.
    EXPECT_NEAR(beepPositions[0], in - kDecks.recorderRecord, 2);
    EXPECT_NEAR(beepPositions[1], out - kDecks.recorderRecPause, 2);
    EXPECT_EQ(e->Deck(kPlayerId).pendingMode, ModeStop);
}

TEST_F(AutoEngineTest, EditReleasesTheRecorderWhereEditWasPressedAndLeavesBothDecksRunning) {
    const int pressedAt = Frames("00:02:00:00");
    Serve(pressedAt);
    e->SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:05:00"))});

    EXPECT_EQ(e->Run(AutoKind::Edit), AutoResult::Finished);

    EXPECT_EQ(e->Deck(kPlayerId).pendingMode, ModePlay);
    EXPECT_EQ(e->Deck(kRecorderId).pendingMode, ModeRecord);
    e->bench.clock->AdvanceUs(3'000'000);  // the recorder starts and takes in some frames
    const auto segments = e->bench.sim->TapeSegments();
    ASSERT_FALSE(segments.empty());
    // The in-point correction is the recorder's own start latency.
    EXPECT_EQ(segments.front().first.sourceFrame, pressedAt);
    EXPECT_TRUE(e->host->Log().contains("recorder indicator"));
}

TEST_F(AutoEngineTest, ReviewPlaysTheRecordedSpanAndPausesOnItsEndThroughLostReplies) {
    const int start = Frames("00:00:40:00"), end = Frames("00:00:50:00");
    Serve(Frames("00:01:00:00"), Frames("00:01:10:00"));
    e->SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:05:00"))});
    e->engine->SetRecordingSpan(start, end);
    // Half a second of lost replies once the cue searches, well under the silence limit: the
    // two-second settle before it must not count as silence, or the first lost poll ends Review.
    bool silenced = false;
    e->host->stopWhen = [&] {
        if (!silenced && e->Deck(kRecorderId).pendingMode == ModeReverseSearch) {
            e->bench.sim->InjectNext(tarnsim::FaultKind::Silence, 5);
            silenced = true;
        }
        return false;
    };

    EXPECT_EQ(e->Run(AutoKind::Review), AutoResult::Finished) << e->Log();

    EXPECT_TRUE(silenced);
    EXPECT_EQ(e->Deck(kRecorderId).pendingMode, ModePause);
    EXPECT_EQ(e->Deck(kRecorderId).position, end);
    EXPECT_EQ(e->vtr->Id(), kPlayerId);  // the deck object addresses the player again
    EXPECT_TRUE(e->bench.sim->TapeSegments().empty());
}

TEST_F(AutoEngineTest, PreviewShowsTheOverlapTransitionsThroughTheirPlainTwins) {
    e->host->devices.playerHasEffects = true;
    const auto sent = [&](std::initializer_list<uint8_t> body) { return Sent(kPlayerId, body); };

    Preview(113);  // previewed as 107: the plain family B setup, its preparation and pattern
    EXPECT_GT(sent({0x18, 0x40, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sent({0x18, 0x46, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sent({0x18, 0x41, 0x24, 0, 0, 0, 0}), 0);
    EXPECT_EQ(sent({0x18, 0x40, 0x20, 0x10, 0, 0, 0}), 0);
    EXPECT_GT(sent({0x18, 0x43, 0x65, 0, 0, 0, 0}), 0);  // run in, family B

    Preview(117);  // previewed as 101: the family A setup with the long preparation
    EXPECT_GT(sent({0x18, 0x44, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sent({0x18, 0x46, 0x20, 0x7F, 0, 0, 0x04}), 0);
    EXPECT_GT(sent({0x18, 0x45, 0x20, 0x7F, 0, 0, 0}), 0);
    EXPECT_EQ(sent({0x18, 0x44, 0x20, 0x10, 0, 0, 0}), 0);
    EXPECT_GT(sent({0x18, 0x47, 0x65, 0, 0, 0, 0}), 0);  // run in, family A
}

TEST_F(AutoEngineTest, AStoppedPlayerFailsTheOperationExceptWhileATransitionIsPrepared) {
    e->SetScenes({SceneRow(Frames("00:01:30:00"), Frames("00:01:33:00"))});
    e->host->stopWhen = [&] {
        const tarnsim::DeviceState player = e->Deck(kPlayerId);
        if (player.mode == ModeForwardSearch && player.pendingMode == ModeForwardSearch)
            e->bench.sim->SetDeckMode(kPlayerId, ModeStop);
        return false;
    };
    EXPECT_EQ(e->Run(AutoKind::Goto), AutoResult::Failed) << e->Log();

    // A transition the player refuses to prepare holds Preview in its prepare step: the player
    // stopping there is waited out until the user stops the run.
    Serve(Frames("00:01:00:00"));
    e->host->devices.playerHasEffects = true;
    e->SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:02:00"), 0, 118),
                  SceneRow(Frames("00:01:40:00"), Frames("00:01:43:00"))},
                 2);
    bool searching = false;
    int64_t stoppedAt = -1;
    e->host->stopWhen = [&] {
        const tarnsim::DeviceState player = e->Deck(kPlayerId);
        if (searching && stoppedAt < 0 && player.mode == ModePlay) {
            e->bench.sim->SetDeckMode(kPlayerId, ModeStop);
            stoppedAt = e->bench.clock->NowMicros();
        }
        searching = searching || player.mode == ModeForwardSearch;
        return stoppedAt >= 0 && e->bench.clock->NowMicros() - stoppedAt > 3'000'000;
    };
    EXPECT_EQ(e->Run(AutoKind::Preview), AutoResult::Stopped) << e->Log();
    EXPECT_GE(stoppedAt, 0) << e->Log();
}

TEST_F(AutoEngineTest, AutoRecWithNothingToRecordStopsAtOnce) {
    e->SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:00:00")), TapeChangeRow()});

    EXPECT_EQ(e->Run(AutoKind::AutoRec), AutoResult::Failed);

    const QStringList log = e->host->Log();
    EXPECT_TRUE(log.filter(QRegularExpression("^row ")).isEmpty());
    EXPECT_TRUE(log.contains(
        "warning: Automatic editing has stopped.\nReason: starting the run: no scene to record."));
    EXPECT_TRUE(log.contains("windows enabled"));
    EXPECT_FALSE(e->engine->IsRunning());
}

}  // namespace
