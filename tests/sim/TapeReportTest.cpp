// The recorders' tapes: which player frame each recorded frame received, in which effect and
// transition state, gathered into segments. Decks on a manual clock, so frames are exact.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "sim/SimFixture.h"

namespace {

using Picture = tarnsim::ReceivedFrame::Picture;

// Player 1 with an edit terminal on recorder 2; latencies as in the demo.
const char* kBench = R"({"devices": [
  {"id": 1, "category": 7, "groups": [8, 24], "answer_delay_ms": 0, "edit_terminal": 2,
   "deck": {"position": 900, "mode": "pause", "latency_frames": {"play": 6, "pause": 22}},
   "effect": {"progress_polls": 3}},
  {"id": 2, "category": 1, "groups": [8], "answer_delay_ms": 0,
   "deck": {"position": 1800, "mode": "rec_pause",
            "latency_frames": {"record": 40, "rec_pause": 10}}}]})";

class TapeReport : public SimFixture {
protected:
    void SetUp() override { Serve(kBench); }
    std::vector<tarnsim::TapeSegment> Segments() { return sim->TapeSegments(); }
    // Effect commands to the player, each of which it must accept.
    void Send(std::initializer_list<Bytes> bodies) {
        for (const Bytes& body : bodies)
            ASSERT_EQ(line->Exchange(RequestFrame(1, body))[3], 0x02) << Hex(body);
    }
    // Asks for the progress of a run until the player's three polls are over.
    void RunToItsEnd(uint8_t family) {
        for (int poll = 0; poll < 4; ++poll)
            Ask(1, {0x18, family, 0x7E});
    }
};

TEST_F(TapeReport, recordingWhileThePlayerPlaysTakesInConsecutiveFramesAfterTheLatencies) {
    Ask(1, {0x08, 0x43, 0x75});  // moves 6 frames later
    Ask(2, {0x08, 0x42, 0x70});  // records 40 frames later
    AdvanceFrames(100);
    Ask(2, {0x08, 0x42, 0x6D});  // pauses 10 frames later
    AdvanceFrames(50);
    const auto segments = Segments();
    ASSERT_EQ(segments.size(), 1u);
    const tarnsim::TapeSegment& s = segments[0];
    EXPECT_EQ(s.recorder, 2);
    EXPECT_EQ(s.first.playerId, 1);
    EXPECT_EQ(s.first.picture, Picture::Play);
    EXPECT_EQ(s.recFrom, 1800);
    EXPECT_EQ(s.recTo, 1870);
    EXPECT_EQ(s.first.sourceFrame, 934);  // the player ran 34 frames before recording began
    EXPECT_EQ(s.srcTo, 1004);
}

TEST_F(TapeReport, aStillPlayerGivesOneRepeatedFrameAndAStoppedOneNoPicture) {
    Ask(1, {0x08, 0x4E, 0x20});
    sim->SetDeckMode(2, 14);  // recording at once
    AdvanceFrames(30);
    sim->SetDeckMode(1, 1);
    AdvanceFrames(20);
    sim->SetDeckMode(2, 13);
    const auto segments = Segments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].first.picture, Picture::Still);
    EXPECT_EQ(segments[0].recTo - segments[0].recFrom, 30);
    EXPECT_EQ(segments[0].first.sourceFrame, 900);
    EXPECT_EQ(segments[0].srcTo, 901);
    EXPECT_EQ(segments[1].first.picture, Picture::None);
    EXPECT_EQ(segments[1].recFrom, 1830);
    EXPECT_EQ(segments[1].recTo, 1850);
}

TEST_F(TapeReport, effectChangesAndTransitionRunsSplitTheSegments) {
    sim->SetDeckMode(1, 6);
    sim->SetDeckMode(2, 14);
    AdvanceFrames(10);
    Ask(1, {0x18, 0x48, 0x21});  // effect 2
    AdvanceFrames(10);
    Send({{0x18, 0x40, 0x20}, {0x18, 0x46, 0x20}, {0x18, 0x41, 0x27}, {0x18, 0x43, 0x65}});
    AdvanceFrames(10);
    RunToItsEnd(0x43);
    AdvanceFrames(10);
    sim->SetDeckMode(2, 13);
    const auto segments = Segments();
    ASSERT_EQ(segments.size(), 4u);
    const int effects[] = {0, 2, 2, 2};
    const int transitions[] = {0, 0, 106, 0};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(segments[i].first.effect, effects[i]) << i;
        EXPECT_EQ(segments[i].first.transition, transitions[i]) << i;
        EXPECT_EQ(segments[i].recTo - segments[i].recFrom, 10) << i;
        EXPECT_EQ(segments[i].first.picture, Picture::Play);
        if (i > 0) {
            EXPECT_EQ(segments[i].first.sourceFrame, segments[i - 1].srcTo);
        }
    }
    EXPECT_TRUE(segments[2].first.transitionIn);
}

TEST_F(TapeReport, anOutTransitionLeavesItsEndPictureUntilTheNextRunInOrArmOff) {
    sim->SetDeckMode(1, 6);
    sim->SetDeckMode(2, 14);
    Send({{0x18, 0x44, 0x20}, {0x18, 0x46, 0x20}, {0x18, 0x45, 0x21}, {0x18, 0x47, 0x75}});
    RunToItsEnd(0x47);              // a black fade out
    AdvanceFrames(10);              // recorded under the black picture
    sim->SetDeckPosition(1, 3000);  // the next scene, elsewhere on the player's tape
    AdvanceFrames(10);
    Ask(1, {0x18, 0x47, 0x65});  // it fades in
    AdvanceFrames(10);
    RunToItsEnd(0x47);
    Ask(1, {0x18, 0x47, 0x75});
    RunToItsEnd(0x47);
    AdvanceFrames(10);
    Ask(1, {0x18, 0x47, 0x60});  // the reset after a run disarms
    AdvanceFrames(10);
    sim->SetDeckMode(2, 13);

    const auto segments = Segments();
    ASSERT_EQ(segments.size(), 5u) << sim->ReportJson();
    const Picture pictures[] = {Picture::Faded, Picture::Faded, Picture::Play, Picture::Faded,
                                Picture::Play};
    const int transitions[] = {102, 102, 102, 102, 0};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(segments[i].first.picture, pictures[i]) << i;
        EXPECT_EQ(segments[i].first.transition, transitions[i]) << i;
        EXPECT_EQ(segments[i].recTo - segments[i].recFrom, 10) << i;
        if (i > 1) {  // the tape runs on under the end picture
            EXPECT_EQ(segments[i].first.sourceFrame, segments[i - 1].srcTo) << i;
        }
    }
    EXPECT_EQ(segments[1].first.sourceFrame, 3000);
    EXPECT_NE(sim->ReportJson().find("\"picture\": \"faded\""), std::string::npos);
}

// A scene whose pause landed 4 frames late, recorded again from the bad take's first frame:
// the tape holds the retake and the next scene, and the report keeps what they replaced.
TEST_F(TapeReport, aRetakeThroughTheEditTerminalReplacesTheBadTakeFrameForFrame) {
    std::string error;
    sim->SetFaultPlan(*tarnsim::FaultPlan::Parse("late=2@2/4", 1, &error));
    sim->SetDeckMode(1, 6);
    auto recordScene = [&](int playerAt, int frames) {
        if (playerAt)
            sim->SetDeckPosition(1, playerAt);
        Ask(1, {0x48, 0x50, 0x70});  // records 40 frames later
        AdvanceFrames(40 + frames - 10);
        Ask(1, {0x48, 0x50, 0x60});  // pauses 10 frames later (the second time 14)
        AdvanceFrames(20);
    };
    recordScene(900, 70);
    sim->SetDeckPosition(2, 1800);  // back to where the bad take began
    recordScene(900, 70);
    recordScene(0, 40);  // the next scene

    const auto segments = Segments();
    ASSERT_EQ(segments.size(), 2u) << sim->ReportJson();
    EXPECT_EQ(segments[0].recFrom, 1800);
    EXPECT_EQ(segments[0].recTo, 1870);
    EXPECT_EQ(segments[0].first.sourceFrame, 940);
    EXPECT_EQ(segments[0].srcTo, 1010);
    EXPECT_EQ(segments[1].recFrom, 1870);
    EXPECT_EQ(segments[1].recTo, 1910);

    const auto takes = sim->Takes();
    ASSERT_EQ(takes.size(), 3u);
    const int spans[3][4] = {{1800, 1874, 74, 0}, {1800, 1870, 70, 70}, {1870, 1910, 40, 40}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(takes[i].recorder, 2);
        EXPECT_EQ(takes[i].number, static_cast<int>(i + 1));
        EXPECT_EQ((std::vector<int>{takes[i].recFrom, takes[i].recTo, takes[i].frames,
                                    takes[i].framesLeft}),
                  (std::vector<int>(spans[i], spans[i] + 4)))
            << "take " << i + 1;
    }
    const auto overwritten = sim->OverwrittenSegments();
    ASSERT_EQ(overwritten.size(), 2u);
    EXPECT_EQ(overwritten[0].take, 1);
    EXPECT_EQ(overwritten[0].byTake, 2);
    EXPECT_EQ(overwritten[0].segment.recFrom, 1800);
    EXPECT_EQ(overwritten[0].segment.recTo, 1870);
    EXPECT_EQ(overwritten[0].segment.first.sourceFrame, 940);  // the same scene, frame for frame
    EXPECT_EQ(overwritten[1].byTake, 3);
    EXPECT_EQ(overwritten[1].segment.recFrom, 1870);
    EXPECT_EQ(overwritten[1].segment.recTo, 1874);
    EXPECT_EQ(overwritten[1].segment.first.sourceFrame, 1010);
    const QJsonObject firstReplaced =
        QJsonDocument::fromJson(QByteArray::fromStdString(sim->ReportJson()))["overwritten"][0]
            .toObject();
    EXPECT_EQ(firstReplaced["take"].toInt(), 1);
    EXPECT_EQ(firstReplaced["by_take"].toInt(), 2);
    EXPECT_EQ(firstReplaced["src_from"].toInt(), 940);
}

TEST_F(TapeReport, reportJsonHasOneObjectPerSegmentAndPerTake) {
    sim->SetDeckMode(1, 6);
    sim->SetDeckMode(2, 14);
    AdvanceFrames(15);
    sim->SetDeckMode(2, 13);
    const QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(sim->ReportJson())).object();
    const QJsonArray segments = root["segments"].toArray();
    ASSERT_EQ(segments.size(), 1);
    const QJsonObject s = segments[0].toObject();
    EXPECT_EQ(s["recorder"].toInt(), 2);
    EXPECT_EQ(s["rec_from"].toInt(), 1800);
    EXPECT_EQ(s["rec_to"].toInt(), 1815);
    EXPECT_EQ(s["player"].toInt(), 1);
    EXPECT_EQ(s["src_from"].toInt(), 900);
    EXPECT_EQ(s["src_to"].toInt(), 915);
    EXPECT_EQ(s["picture"].toString(), "play");
    EXPECT_EQ(s["effect"].toInt(), 0);
    EXPECT_EQ(s["transition"].toInt(), 0);
    EXPECT_FALSE(s.contains("side"));
    const QJsonArray takes = root["takes"].toArray();
    ASSERT_EQ(takes.size(), 1);
    EXPECT_EQ(takes[0].toObject(), (QJsonObject{{"recorder", 2},
                                                {"take", 1},
                                                {"rec_from", 1800},
                                                {"rec_to", 1815},
                                                {"frames", 15},
                                                {"frames_left", 15}}));
    EXPECT_TRUE(root["overwritten"].isArray());
    EXPECT_TRUE(root["overwritten"].toArray().isEmpty());
}

}  // namespace
