// Goto, Preroll, Preview, Edit and Review on the simulated bench, judged by where the decks end
// up, what the engine showed and which commands went on the bus.
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
};

TEST_F(AutoEngineTest, GotoFarAheadSearchesForwardAndLandsPausedOnTheInPoint) {
    Serve(EngineBench(Frames("00:01:00:00")));
    const int in = Frames("00:01:30:00");
    SetScenes({SceneRow(in, in + 90)});

    EXPECT_EQ(Run(kAutoGoto), kAutoFinished);

    ExpectPausedNear(kPlayerId, in);
    EXPECT_GT(SentCommand(kPlayerId, kSearchForward), 0);
    EXPECT_EQ(SentCommand(kPlayerId, kSearchReverse), 0);
    EXPECT_EQ(SentTo(kRecorderId), 0);
    EXPECT_TRUE(host->Log().contains("information: Automatic editing has finished."));
}

TEST_F(AutoEngineTest, GotoBehindThePlayerSearchesBackAndLandsPausedOnTheInPoint) {
    Serve(EngineBench(Frames("00:02:00:00")));
    const int in = Frames("00:01:30:00");
    SetScenes({SceneRow(in, in + 90)});

    EXPECT_EQ(Run(kAutoGoto), kAutoFinished);

    ExpectPausedNear(kPlayerId, in);
    EXPECT_GT(SentCommand(kPlayerId, kSearchReverse), 0);
    EXPECT_EQ(SentCommand(kPlayerId, kSearchForward), 0);
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

TEST_F(AutoEngineTest, AutoRecWithNothingToRecordStopsAtOnce) {
    Serve(EngineBench(Frames("00:01:00:00")));
    SetScenes({SceneRow(Frames("00:01:00:00"), Frames("00:01:00:00")), TapeChangeRow()});

    EXPECT_EQ(RunAutoRec(), kAutoFailed);

    const QStringList log = host->Log();
    EXPECT_TRUE(log.filter(QRegularExpression("^row ")).isEmpty());
    EXPECT_TRUE(log.contains("warning: Automatic editing has stopped."));
    EXPECT_TRUE(log.contains("windows enabled"));
    EXPECT_FALSE(engine->IsRunning());
}

}  // namespace
