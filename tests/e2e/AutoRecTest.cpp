// Auto Rec runs on the simulated bench, judged by the recorder's tape report: which player
// frames arrived on which recorder frames, in which order, and how the run ended.
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>

#include "EngineFixture.h"
#include "link/TarnVtr.h"

namespace {

// These runs check the wiring in real time on a machine that may be busy; where every frame lands
// is the virtual-time tests' (tests/engine). A second either way still tells one scene from the
// next.
constexpr int kWiringTolerance = 30;

using Picture = tarnsim::ReceivedFrame::Picture;

class AutoRecTest : public EngineFixture {
protected:
    // Each recorded scene lies within the tolerance of its in and out points, in list order,
    // appended right after the one before.
    void ExpectRecorded(const std::vector<std::pair<int, int>>& scenes) const {
        const auto recorded = RecordedScenes(sim->TapeSegments());
        ASSERT_EQ(recorded.size(), scenes.size()) << sim->ReportJson();
        // The player plays throughout; an out transition may have left its end picture on the
        // last frames of a scene and the first of the next.
        for (const RecordedScene& scene : recorded)
            for (const auto& s : scene.segments)
                EXPECT_TRUE(s.first.picture == Picture::Play || s.first.picture == Picture::Faded)
                    << sim->ReportJson();
        SKIP_WHERE_FRAMES_UNCHECKABLE();
        for (size_t i = 0; i < scenes.size(); ++i) {
            EXPECT_LE(std::abs(recorded[i].srcFrom - scenes[i].first), kWiringTolerance)
                << "scene " << i << "\n"
                << sim->ReportJson();
            EXPECT_LE(std::abs(recorded[i].srcTo - scenes[i].second), kWiringTolerance)
                << "scene " << i << "\n"
                << sim->ReportJson();
            if (i > 0) {
                EXPECT_LE(std::abs(recorded[i].recFrom - recorded[i - 1].recTo), kWiringTolerance)
                    << "scene " << i << " is not appended\n"
                    << sim->ReportJson();
            }
        }
    }
    // The engine's own reading of the recorder after each scene tells the same lengths and
    // seams as the simulator's tape.
    void ExpectVerificationAgrees(const std::vector<int>& rows) const {
        const auto recorded = RecordedScenes(sim->TapeSegments());
        const std::vector<SceneCheck> checks = engine->SceneChecks();
        ASSERT_EQ(checks.size(), rows.size());
        ASSERT_EQ(recorded.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(checks[i].row, rows[i]);
            ASSERT_TRUE(checks[i].Readable());
            const int length = recorded[i].recTo - recorded[i].recFrom;
            // The recorder stands on the frame after a scene, which the next scene overwrites.
            const bool last = i + 1 == rows.size();
            EXPECT_LE(std::abs(checks[i].RecordedFrames() - length), last ? 1 : 0)
                << "scene " << i << "\n"
                << sim->ReportJson();
            if (!last) {
                EXPECT_EQ(checks[i].endPosition, recorded[i + 1].recFrom);
            }
        }
        EXPECT_TRUE(
            host->Log().contains(QStringLiteral("verification of %1 scenes").arg(rows.size())));
    }
    // As the bench starts: the player stopped at one minute, the recorder at 900. Each take is
    // compared with the tape, so no take is recorded over: on a busy machine a few frames off
    // would call for a retake, which RetakeTest checks exactly in virtual time.
    void ServeDemo() {
        Serve(EngineBench(Frames("00:01:00:00")));
        host->options.retakeAttempts = 0;
    }
};

const int kIn1 = Frames("00:01:20:00"), kOut1 = kIn1 + 90;
const int kIn2 = Frames("00:01:30:00"), kOut2 = kIn2 + 75;
const int kIn3 = Frames("00:01:40:00"), kOut3 = kIn3 + 60;

TEST_F(AutoRecTest, RecordsEveryScenePassingEmptyRowsAndAskingAtTapeChanges) {
    ServeDemo();
    SetScenes({SceneRow(kIn1, kOut1), SceneRow(kIn2, kIn2), SceneRow(kIn2, kOut2), TapeChangeRow(),
               SceneRow(kIn3, kOut3), TapeChangeRow()});
    std::vector<int> playerModeAtQuestion;
    host->onEvent = [&](const QString& entry) {
        if (entry.startsWith("tape change"))
            playerModeAtQuestion.push_back(Deck(kPlayerId).pendingMode);
    };

    EXPECT_EQ(RunAutoRec(), AutoResult::Finished);

    ExpectRecorded({{kIn1, kOut1}, {kIn2, kOut2}, {kIn3, kOut3}});
    EXPECT_EQ(playerModeAtQuestion, (std::vector<int>{ModeStop, ModeStop}));
    // Where the run stood: each of the three scenes in turn, the share of the list growing to
    // all of it and the tape left shrinking to nothing.
    const auto& progress = host->progressShown;
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().framesLeft, (kOut1 - kIn1) + (kOut2 - kIn2) + (kOut3 - kIn3));
    std::vector<int> scenesShown;
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].scenes, 3);
        if (scenesShown.empty() || scenesShown.back() != progress[i].scene)
            scenesShown.push_back(progress[i].scene);
        if (i > 0) {
            EXPECT_GE(progress[i].percent, progress[i - 1].percent);
            EXPECT_LE(progress[i].framesLeft, progress[i - 1].framesLeft);
        }
    }
    EXPECT_EQ(scenesShown, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(progress.back().percent, 100);
    EXPECT_EQ(progress.back().framesLeft, 0);
    EXPECT_GT(progress.size(), 6u) << "the gauge moves within the scenes";
    const QStringList log = host->Log();
    EXPECT_EQ(log.filter(QRegularExpression("^row ")),
              (QStringList{"row 1", "row 2", "row 3", "row 4", "row 5", "row 6"}));
    EXPECT_EQ(log.last(), "view 1");
    EXPECT_TRUE(log.contains("information: Automatic editing has finished."));
    EXPECT_TRUE(log.contains("review enabled"));
    EXPECT_GT(engine->RecordingEnd(), engine->RecordingStart());
    // The point is kept as the run starts and after each scene on tape; a finished run leaves
    // nothing to resume.
    std::vector<int> keptRows;
    for (const ResumePoint& point : host->keptResumePoints)
        keptRows.push_back(point.IsEmpty() ? -1 : point.lastRow);
    EXPECT_EQ(keptRows, (std::vector<int>{0, 1, 3, 5, -1}));
    EXPECT_EQ(Deck(kPlayerId).pendingMode, ModeStop);
    EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecordPause);
    ExpectVerificationAgrees({1, 3, 5});
}

TEST_F(AutoRecTest, EffectsAndTransitionsLandOnTheirScenes) {
    ServeDemo();
    host->devices.playerHasEffects = true;
    const int kEffect = 2, kTransition = 105;
    SetScenes({SceneRow(kIn1, kOut1, kEffect, kTransition), SceneRow(kIn2, kOut2)});

    EXPECT_EQ(RunAutoRec(), AutoResult::Finished);

    ExpectRecorded({{kIn1, kOut1}, {kIn2, kOut2}});
    const auto recorded = RecordedScenes(sim->TapeSegments());
    ASSERT_EQ(recorded.size(), 2u);
    // The first scene carries its effect throughout and its transition runs out at its end;
    // the transition runs in at the start of the next scene, which has no effect.
    const auto& first = recorded[0].segments;
    for (const auto& s : first)
        EXPECT_EQ(s.first.effect, kEffect);
    EXPECT_EQ(first.front().first.transition, 0);
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [&](const auto& s) {
        return s.first.transition == kTransition && !s.first.transitionIn;
    })) << sim->ReportJson();
    const auto& second = recorded[1].segments;
    for (const auto& s : second)
        EXPECT_EQ(s.first.effect, 0);
    EXPECT_TRUE(std::any_of(second.begin(), second.end(), [&](const auto& s) {
        return s.first.transition == kTransition && s.first.transitionIn;
    })) << sim->ReportJson();
    EXPECT_EQ(second.back().first.transition, 0);
    // Between the run out and the run in the picture is the transition's end picture.
    for (const auto& scene : recorded) {
        for (const auto& s : scene.segments) {
            if (s.first.picture == Picture::Faded) {
                EXPECT_EQ(s.first.transition, kTransition);
            }
        }
    }
}

}  // namespace
