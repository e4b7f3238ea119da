// Where the engine's operations land, to the frame, on decks simulated in virtual time at each
// counting mode: a deck paused on its target, every scene of an Auto Rec on its first and last
// frame and appended to the one before, whichever way it was cued and however its transition runs
// out. The decks take the bench's own times to obey, without jitter, and the options hold those
// times, as a calibration leaves them: every landing is exact. Tapes stand near a minute's end,
// where drop-frame counting skips labels under the runs.
#include <gtest/gtest.h>

#include <functional>

#include "EngineFixture.h"
#include "VirtualEngine.h"

namespace {

// Quick decks, close to the options' defaults, whose transitions end after a few questions;
// slow decks, far from them, whose transitions run for forty frames however often they are asked.
constexpr BenchLatencies kQuickDecks{6, 22, 40, 10, 10, 0, 0};
constexpr BenchLatencies kSlowDecks{9, 31, 52, 17, 13, 0, 40};

class EngineLandingTest : public ::testing::TestWithParam<TCMode> {
protected:
    int Fps() const { return FramesPerSecond(GetParam()); }
    // Frames of a tape position given in seconds and frames.
    int At(int seconds, int frames = 0) const { return seconds * Fps() + frames; }

    // A fresh bench for each case, its options set to its decks' times.
    VirtualEngine& Serve(const BenchLatencies& decks, int playerAt, int recorderAt) {
        bench = std::make_unique<VirtualEngine>();
        std::string error;
        EXPECT_TRUE(
            bench->Serve(LatencyBench(decks, playerAt, recorderAt, GetParam()), GetParam(), &error))
            << error;
        bench->host->options = OptionsFor(decks);
        bench->host->devices.playerHasEffects = true;
        return *bench;
    }
    Scene Row(int in, int out, int transition = 0) const {
        return SceneRow(in, out, 0, transition, GetParam());
    }

    std::unique_ptr<VirtualEngine> bench;
};

// Goto and Preroll pause the player, Review the recorder, so that it stands on the frame.
TEST_P(EngineLandingTest, TheDeckPausesOnItsTarget) {
    struct Case {
        const char* what;
        const BenchLatencies& decks;
        AutoKind kind;
        int deck;
        int playerAt, recorderAt;
        int target;
    };
    const Case cases[] = {
        {"Goto far ahead, searching forward", kSlowDecks, AutoKind::Goto, kPlayerId, At(60), At(0),
         At(119, Fps() - 5)},
        {"Goto close ahead, searching back", kQuickDecks, AutoKind::Goto, kPlayerId, At(117), At(0),
         At(119, Fps() - 5)},
        {"Goto behind, searching back", kSlowDecks, AutoKind::Goto, kPlayerId, At(150), At(0),
         At(119, 10)},
        {"Preroll", kQuickDecks, AutoKind::Preroll, kPlayerId, At(122), At(0), At(122) - 150},
        {"Review", kSlowDecks, AutoKind::Review, kRecorderId, At(60), At(150), At(120, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualEngine& e = Serve(c.decks, c.playerAt, c.recorderAt);
        e.host->options.preRollFrames = 150;
        e.SetScenes({Row(c.target, c.target + At(3))});
        e.engine->SetRecordingSpan(At(100), c.target);
        ASSERT_EQ(e.Run(c.kind), AutoResult::Finished) << e.Log();
        EXPECT_EQ(e.Deck(c.deck).pendingMode, ModePause);
        EXPECT_EQ(e.Deck(c.deck).position, c.target);
    }
}

// Where in the transcript the first request after position `after` whose bytes match came; -1
// when none did.
int FirstRequestWhere(const tarnsim::Simulator& sim, int after,
                      const std::function<bool(const std::vector<uint8_t>&)>& matches) {
    const auto entries = sim.TranscriptEntries();
    for (int i = after + 1; i < static_cast<int>(entries.size()); ++i) {
        const tarnsim::TranscriptEntry& entry = entries[static_cast<size_t>(i)];
        if (entry.kind == tarnsim::TranscriptEntry::Kind::Request && entry.bytes.size() == 11 &&
            matches(entry.bytes))
            return i;
    }
    return -1;
}

// Where in the transcript the first request to id with exactly these command bytes came after
// position `after`; -1 when none did.
int FirstRequest(const tarnsim::Simulator& sim, int id, const std::vector<uint8_t>& command,
                 int after = -1) {
    return FirstRequestWhere(sim, after, [&](const std::vector<uint8_t>& bytes) {
        return bytes[2] == id && std::equal(command.begin(), command.end(), bytes.begin() + 3);
    });
}

// The player's first wind or search after position `after`.
int FirstTravel(const tarnsim::Simulator& sim, int after) {
    return FirstRequestWhere(sim, after, [](const std::vector<uint8_t>& b) {
        const bool wind = b[4] == 0x44 && (b[5] == 0x75 || b[5] == 0x65);
        const bool search = b[4] == 0x43 && (b[5] == 0x21 || b[5] == 0x25);
        return b[2] == kPlayerId && b[3] == 0x08 && (wind || search);
    });
}

// One scene of a list, and the transition that runs out at its end and in at the next one's start.
struct ListScene {
    const char* what;
    int in, out;
    int transition;
};

// The recorder's record and rec-pause commands.
const std::vector<uint8_t> kRecord{0x08, 0x42, 0x70, 0, 0, 0, 0};
const std::vector<uint8_t> kRecPause{0x08, 0x42, 0x6D, 0, 0, 0, 0};

// Where in the transcript the recorder's n-th (from 1) command `command` came; -1 when none did.
int NthRecorderCommand(const tarnsim::Simulator& sim, const std::vector<uint8_t>& command, int n) {
    int at = -1;
    for (int i = 0; i < n; ++i)
        at = FirstRequest(sim, kRecorderId, command, at);
    return at;
}

class AutoRecLandingTest : public EngineLandingTest {
protected:
    // Records the scenes from a player at 1:40 and a recorder at 0:20 and checks every scene on
    // the tape: from its in point to its out point, appended to the one before, its first frame
    // already inside the transition that runs in. The bench stays for the caller's checks.
    VirtualEngine& RecordsEverySceneOnItsFrames(const BenchLatencies& decks,
                                                const std::vector<ListScene>& scenes,
                                                bool quickCue) {
        VirtualEngine& e = Serve(decks, At(100), At(20));
        e.host->options.quickCue = quickCue;
        std::vector<::Scene> rows;
        for (const ListScene& scene : scenes)
            rows.push_back(Row(scene.in, scene.out, scene.transition));
        e.SetScenes(rows);
        EXPECT_EQ(e.Run(AutoKind::AutoRec), AutoResult::Finished) << e.Log();

        const std::string tape = e.bench.sim->ReportJson();
        const auto recorded = RecordedScenes(e.bench.sim->TapeSegments());
        EXPECT_EQ(recorded.size(), scenes.size()) << tape;
        if (recorded.size() != scenes.size())
            return e;
        EXPECT_EQ(recorded[0].recFrom, At(20)) << tape;
        for (size_t i = 0; i < scenes.size(); ++i) {
            SCOPED_TRACE(scenes[i].what);
            EXPECT_EQ(recorded[i].srcFrom, scenes[i].in) << tape;
            // The recorder stands on the frame after the last scene, which a next one overwrites.
            const int standing = i + 1 == scenes.size() ? 1 : 0;
            EXPECT_EQ(recorded[i].srcTo, scenes[i].out + standing) << tape;
            if (i > 0) {
                EXPECT_EQ(recorded[i].recFrom, recorded[i - 1].recTo) << tape;
                if (scenes[i - 1].transition != 0) {
                    const tarnsim::ReceivedFrame& first = recorded[i].segments.front().first;
                    EXPECT_EQ(first.transition, scenes[i - 1].transition) << tape;
                    EXPECT_TRUE(first.transitionIn) << tape;
                }
            }
        }
        // Where the next run would begin: on the frame after the last scene.
        EXPECT_EQ(e.Deck(kRecorderId).position, recorded.back().recTo - 1);
        EXPECT_EQ(e.Deck(kRecorderId).pendingMode, ModeRecordPause);
        EXPECT_EQ(e.Deck(kPlayerId).pendingMode, ModeStop);
        return e;
    }
};

// Scenes are cued forward and back, carry no transition, one that runs out before the
// recorder's pause, or one that runs out after it; the one-second scene is shorter than its
// transition's run and the recorder's stop together on the slow decks.
TEST_P(AutoRecLandingTest, AutoRecLandsEverySceneOnItsFramesAndAppendsIt) {
    const std::vector<ListScene> scenes = {
        {"cued forward across a minute's end", At(119, 10), At(120, 20), 0},
        {"cued back, one second, run out early", At(105), At(106), 102},
        {"cued forward, run out late", At(125), At(128), 113},
        {"cued back, run in", At(110), At(112, 7), 0},
    };
    for (const BenchLatencies& decks : {kQuickDecks, kSlowDecks}) {
        SCOPED_TRACE(decks.transitionFrames > 0 ? "slow decks" : "quick decks");
        VirtualEngine& e = RecordsEverySceneOnItsFrames(decks, scenes, false);
        // The early run out goes before its scene's pause; the late one is selected while its
        // scene records and runs out after the pause.
        const tarnsim::Simulator& sim = *e.bench.sim;
        const auto after = [&](const std::vector<uint8_t>& command, int from) {
            return FirstRequest(sim, kPlayerId, command, from);
        };
        const int secondRecords = NthRecorderCommand(sim, kRecord, 2);
        const int thirdRecords = FirstRequest(sim, kRecorderId, kRecord, secondRecords);
        const int secondPauses = FirstRequest(sim, kRecorderId, kRecPause, secondRecords);
        const int thirdPauses = FirstRequest(sim, kRecorderId, kRecPause, thirdRecords);
        ASSERT_GE(thirdPauses, 0);
        const int earlyRunOut = after({0x18, 0x47, 0x75, 0, 0, 0, 0}, secondRecords);
        const int lateSelected = after({0x18, 0x40, 0x20, 0x10, 0, 0, 0}, thirdRecords);
        EXPECT_GT(earlyRunOut, secondRecords);
        EXPECT_LT(earlyRunOut, secondPauses);
        EXPECT_GT(lateSelected, thirdRecords);
        EXPECT_LT(lateSelected, thirdPauses);
        EXPECT_GT(after({0x18, 0x49, 0x70, 0, 0, 0, 0}, thirdRecords), thirdPauses);
        // After the last scene the player runs on 150 frames before it is stopped.
        EXPECT_GE(e.Deck(kPlayerId).position, scenes.back().out + 150);
        EXPECT_LE(e.Deck(kPlayerId).position, scenes.back().out + 150 + 40);
    }
}

// Quick cue lands the same frames and seams and waits less: a scene that begins a few seconds
// after the one before is played into, without a search; a far one is wound to; after a plain
// cut the player starts back as soon as the recorder is read standing; and after the last scene
// the player runs on only until then.
TEST_P(AutoRecLandingTest, QuickCueLandsTheSameFramesWaitingLess) {
    const std::vector<ListScene> scenes = {
        {"cued forward across a minute's end", At(119, 10), At(120, 20), 0},
        {"played into four seconds on, run out early", At(124, 20), At(126), 102},
        {"cued back, one second, run in, run out late", At(105), At(106), 113},
        {"wound to a minute and a half on", At(200), At(202, 7), 0},
        {"cued back while the recorder stops", At(150), At(151), 0},
    };
    for (const BenchLatencies& decks : {kQuickDecks, kSlowDecks}) {
        SCOPED_TRACE(decks.transitionFrames > 0 ? "slow decks" : "quick decks");
        VirtualEngine& e = RecordsEverySceneOnItsFrames(decks, scenes, true);
        const tarnsim::Simulator& sim = *e.bench.sim;
        const auto playerSent = [&](uint8_t mode, int from, int to) {
            const int at = FirstRequest(sim, kPlayerId, {0x08, 0x43, mode, 0, 0, 0, 0}, from);
            return at >= 0 && at < to;
        };
        const int firstPauses =
            FirstRequest(sim, kRecorderId, kRecPause, NthRecorderCommand(sim, kRecord, 1));
        const int secondRecords = NthRecorderCommand(sim, kRecord, 2);
        ASSERT_GE(secondRecords, 0);
        EXPECT_FALSE(playerSent(0x21, firstPauses, secondRecords)) << "searched forward";
        EXPECT_FALSE(playerSent(0x25, firstPauses, secondRecords)) << "searched back";
        EXPECT_FALSE(playerSent(0x75, firstPauses, secondRecords)) << "play sent again";
        const int thirdPauses =
            FirstRequest(sim, kRecorderId, kRecPause, NthRecorderCommand(sim, kRecord, 3));
        const int fourthRecords = NthRecorderCommand(sim, kRecord, 4);
        ASSERT_GE(fourthRecords, 0);
        const int wound = FirstRequest(sim, kPlayerId, {0x08, 0x44, 0x75, 0, 0, 0, 0}, thirdPauses);
        EXPECT_GE(wound, 0);
        EXPECT_LT(wound, fourthRecords);
        // After a plain cut the last cue starts once the recorder has been read standing, not on
        // a prediction.
        const int fourthPauses = FirstRequest(sim, kRecorderId, kRecPause, fourthRecords);
        const int travels = FirstTravel(sim, fourthPauses);
        const int recorderRead = FirstRequestWhere(
            sim, fourthPauses, [](const std::vector<uint8_t>& b) { return b[2] == kRecorderId; });
        ASSERT_GE(travels, 0);
        EXPECT_GT(travels, recorderRead);
        const auto entries = sim.TranscriptEntries();
        const auto frames = [&](int n) { return int64_t{n} * 1'000'000 / Fps(); };
        const int64_t standsUs =
            entries[static_cast<size_t>(fourthPauses)].micros + frames(decks.recorderRecPause);
        EXPECT_GE(entries[static_cast<size_t>(travels)].micros, standsUs);
        // The recorder stands the out-point correction after its pause; the player is stopped
        // within a few polls of the reading that shows it.
        EXPECT_LE(e.Deck(kPlayerId).position, scenes.back().out + decks.recorderRecPause + 15);
    }
}
std::string ModeName(const ::testing::TestParamInfo<TCMode>& info) {
    return info.param == Fps25 ? "Fps25" : info.param == Fps30 ? "Fps30" : "Fps30Drop";
}

INSTANTIATE_TEST_SUITE_P(EveryCountingMode, EngineLandingTest,
                         ::testing::Values(Fps25, Fps30, Fps30Drop), ModeName);
INSTANTIATE_TEST_SUITE_P(EveryCountingMode, AutoRecLandingTest,
                         ::testing::Values(Fps25, Fps30, Fps30Drop), ModeName);

}  // namespace
