// Goto, Preroll, Preview, Edit and Review on the simulated bench, judged by where the decks end
// up, what the engine showed and which commands went on the bus.
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <cstdlib>

#include "EngineFixture.h"
#include "link/TarnVtr.h"

namespace {

constexpr uint8_t kSearchForward[] = {0x08, 0x43, 0x21};
constexpr uint8_t kSearchReverse[] = {0x08, 0x43, 0x25};

class AutoEngineTest : public EngineFixture {
protected:
    int SentCommand(int id, const uint8_t (&command)[3]) const {
        return Sent(id, {command[0], command[1], command[2]});
    }
    void ExpectPausedNear(int id, int position) const {
        const tarnsim::DeviceState deck = Deck(id);
        EXPECT_EQ(deck.pendingMode, ModePause);
        EXPECT_LE(std::abs(deck.position - position), kFrameTolerance) << deck.position;
    }
    // Notes in searchEndedAt where the player was told to leave its search for play. Searching
    // at ten times normal speed, the player covers some frames between two looks.
    std::function<void()> WatchSearchEnd() {
        return [this] {
            const tarnsim::DeviceState player = Deck(kPlayerId);
            if (player.mode == ModeForwardSearch || player.mode == ModeReverseSearch)
                searching = true;
            if (searching && searchEndedAt < 0 && player.pendingMode == ModePlay)
                searchEndedAt = player.position;
        };
    }
    // Where the row before the current one carries `transition`, Preview's transition prepare
    // and run in go out for the transition the player previews it with.
    void Preview(int transition) {
        sim->ClearTranscript();
        SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:02:00"), 0, transition),
                   SceneRow(Frames("00:01:20:00"), Frames("00:01:23:00"))},
                  2);
        EXPECT_EQ(Run(kAutoPreview), kAutoFinished) << transition;
    }

    static constexpr int kSearchEndTolerance = 60;  // well below the 150 that tell them apart
    bool searching = false;
    int searchEndedAt = -1;
};

TEST_F(AutoEngineTest, GotoFarAheadSearchesForwardAndLandsPausedOnTheInPoint) {
    Serve(EngineBench(Frames("00:01:00:00")));
    const int in = Frames("00:01:30:00");
    SetScenes({SceneRow(in, in + 90)});

    EXPECT_EQ(Run(kAutoGoto, WatchSearchEnd()), kAutoFinished);

    ExpectPausedNear(kPlayerId, in);
    EXPECT_GT(SentCommand(kPlayerId, kSearchForward), 0);
    EXPECT_EQ(SentCommand(kPlayerId, kSearchReverse), 0);
    // A forward search ends the search distance before the in point.
    EXPECT_NEAR(searchEndedAt, in - host->options.searchDistance, kSearchEndTolerance);
    EXPECT_EQ(SentTo(kRecorderId), 0);
    EXPECT_TRUE(host->Log().contains("information: Automatic editing has finished."));
}

TEST_F(AutoEngineTest, GotoBehindThePlayerSearchesBackAndLandsPausedOnTheInPoint) {
    Serve(EngineBench(Frames("00:02:00:00")));
    const int in = Frames("00:01:30:00");
    SetScenes({SceneRow(in, in + 90)});

    EXPECT_EQ(Run(kAutoGoto, WatchSearchEnd()), kAutoFinished);

    ExpectPausedNear(kPlayerId, in);
    EXPECT_GT(SentCommand(kPlayerId, kSearchReverse), 0);
    EXPECT_EQ(SentCommand(kPlayerId, kSearchForward), 0);
    // A reverse search ends 150 frames before the in point, whatever the search distance.
    EXPECT_NEAR(searchEndedAt, in - 150, kSearchEndTolerance);
}

TEST_F(AutoEngineTest, PrerollBacksThePlayerUpByThePrerollTime) {
    Serve(EngineBench(Frames("00:02:00:00")));
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:05:00"))});
    host->options.preRollFrames = 150;
    PlaceDeck(kPlayerId, Frames("00:02:00:00"), ModePause);

    EXPECT_EQ(Run(kAutoPreroll), kAutoFinished);

    ExpectPausedNear(kPlayerId, Frames("00:02:00:00") - 150);
}

TEST_F(AutoEngineTest, PreviewBeepsAtTheCorrectedPointsAndNeverTouchesTheRecorder) {
    Serve(EngineBench(Frames("00:01:00:00")));
    const int in = Frames("00:01:20:00"), out = in + 120;
    SetScenes({SceneRow(in, out)});
    std::vector<int> beepPositions;
    host->onEvent = [&](const QString& entry) {
        if (entry == "beep")
            beepPositions.push_back(Deck(kPlayerId).position);
    };

    EXPECT_EQ(Run(kAutoPreview), kAutoFinished);

    EXPECT_EQ(SentTo(kRecorderId), 0);
    ASSERT_EQ(beepPositions.size(), 2u);
    // The beep is heard a poll or two after the engine passed the point.
    EXPECT_NEAR(beepPositions[0], in - host->options.inCorrection, kFrameTolerance + 5);
    EXPECT_NEAR(beepPositions[1], out - host->options.outCorrection, kFrameTolerance + 5);
    EXPECT_EQ(Deck(kPlayerId).pendingMode, ModeStop);
}

TEST_F(AutoEngineTest, EditReleasesTheRecorderWhereEditWasPressedAndLeavesBothDecksRunning) {
    Serve(EngineBench(Frames("00:02:00:00")));
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:05:00"))});
    const int pressedAt = Frames("00:02:00:00");
    PlaceDeck(kPlayerId, pressedAt, ModePause);

    EXPECT_EQ(Run(kAutoEdit), kAutoFinished);

    EXPECT_EQ(Deck(kPlayerId).pendingMode, ModePlay);
    EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecord);
    QThread::msleep(1000);  // let the recorder take in some frames
    const auto segments = sim->TapeSegments();
    ASSERT_FALSE(segments.empty());
    // The recorder's own start latency equals the in-point correction here.
    EXPECT_LE(std::abs(segments.front().first.sourceFrame - pressedAt), kFrameTolerance);
    EXPECT_TRUE(host->Log().contains("recorder indicator"));
}

TEST_F(AutoEngineTest, ReviewPlaysTheRecordedSpanAndPausesJustBeforeItsEnd) {
    Serve(EngineBench(Frames("00:01:00:00")));
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:05:00"))});
    const int start = Frames("00:00:40:00"), end = Frames("00:00:50:00");
    PlaceDeck(kRecorderId, Frames("00:01:10:00"), ModeStop);
    engine->SetRecordingSpan(start, end);

    // Half a second of lost replies once the cue searches, well under the silence limit: the
    // two-second settle before it must not count as silence, or the first lost poll ends Review.
    bool silenced = false;
    const auto loseRepliesAfterTheSettle = [&] {
        if (!silenced && Deck(kRecorderId).pendingMode == ModeReverseSearch) {
            sim->InjectNext(tarnsim::FaultKind::Silence, 5);
            silenced = true;
        }
    };
    EXPECT_EQ(Run(kAutoReview, loseRepliesAfterTheSettle), kAutoFinished);
    EXPECT_TRUE(silenced);

    const tarnsim::DeviceState recorder = Deck(kRecorderId);
    EXPECT_EQ(recorder.pendingMode, ModePause);
    EXPECT_LE(recorder.position, end);
    EXPECT_GE(recorder.position, end - 22 - kFrameTolerance);
    EXPECT_EQ(vtr->Id(), kPlayerId);  // the deck object addresses the player again
    EXPECT_TRUE(sim->TapeSegments().empty());
}

TEST_F(AutoEngineTest, PreviewShowsTheOverlapTransitionsThroughTheirPlainTwins) {
    Serve(EngineBench(Frames("00:01:00:00")));
    host->devices.playerHasEffects = true;
    const auto sentFull = [&](std::initializer_list<uint8_t> body) {
        return Sent(kPlayerId, body);
    };

    Preview(113);  // previewed as 107: the plain family B setup, its preparation and pattern
    EXPECT_GT(sentFull({0x18, 0x40, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sentFull({0x18, 0x46, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sentFull({0x18, 0x41, 0x24, 0, 0, 0, 0}), 0);
    EXPECT_EQ(sentFull({0x18, 0x40, 0x20, 0x10, 0, 0, 0}), 0);
    EXPECT_GT(sentFull({0x18, 0x43, 0x65, 0, 0, 0, 0}), 0);  // run in, family B

    Preview(117);  // previewed as 101: the family A setup with the long preparation
    EXPECT_GT(sentFull({0x18, 0x44, 0x20, 0, 0, 0, 0}), 0);
    EXPECT_GT(sentFull({0x18, 0x46, 0x20, 0x7F, 0, 0, 0x04}), 0);
    EXPECT_GT(sentFull({0x18, 0x45, 0x20, 0x7F, 0, 0, 0}), 0);
    EXPECT_EQ(sentFull({0x18, 0x44, 0x20, 0x10, 0, 0, 0}), 0);
    EXPECT_GT(sentFull({0x18, 0x47, 0x65, 0, 0, 0, 0}), 0);  // run in, family A
}

TEST_F(AutoEngineTest, AStoppedPlayerFailsTheOperationExceptWhileATransitionIsPrepared) {
    Serve(EngineBench(Frames("00:01:00:00")));
    SetScenes({SceneRow(Frames("00:01:30:00"), Frames("00:01:33:00"))});
    const auto stopWhileSearching = [&] {
        const tarnsim::DeviceState player = Deck(kPlayerId);
        if (player.mode == ModeForwardSearch && player.pendingMode == ModeForwardSearch)
            sim->SetDeckMode(kPlayerId, ModeStop);
    };
    EXPECT_EQ(Run(kAutoGoto, stopWhileSearching), kAutoFailed);

    // A transition the player refuses to prepare holds Preview in its prepare step: the player
    // stopping there is waited out until the user stops the run.
    host->devices.playerHasEffects = true;
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:02:00"), 0, 118),
               SceneRow(Frames("00:01:40:00"), Frames("00:01:43:00"))},
              2);
    PlaceDeck(kPlayerId, Frames("00:01:00:00"), ModeStop);
    QElapsedTimer stoppedFor;
    const auto stopWhilePreparing = [&] {
        const tarnsim::DeviceState player = Deck(kPlayerId);
        if (searching && !stoppedFor.isValid() && player.mode == ModePlay) {
            sim->SetDeckMode(kPlayerId, ModeStop);
            stoppedFor.start();
        }
        searching = searching || player.mode == ModeForwardSearch;
        if (stoppedFor.isValid() && stoppedFor.elapsed() > 1500)
            host->PressStop();
    };
    EXPECT_EQ(Run(kAutoPreview, stopWhilePreparing), kAutoStopped);
    EXPECT_TRUE(stoppedFor.isValid());
}

TEST_F(AutoEngineTest, AutoRecWithNothingToRecordStopsAtOnce) {
    Serve(EngineBench(Frames("00:01:00:00")));
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:00:00")), TapeChangeRow()});

    EXPECT_EQ(RunAutoRec(), kAutoFailed);

    const QStringList log = host->Log();
    EXPECT_TRUE(log.filter(QRegularExpression("^row ")).isEmpty());
    EXPECT_TRUE(log.contains(
        "warning: Automatic editing has stopped.\nReason: starting the run: no scene to record."));
    EXPECT_TRUE(log.contains("windows enabled"));
    EXPECT_FALSE(engine->IsRunning());
}

}  // namespace
