// A scene that lands off its frames is recorded again over itself, in virtual time on decks whose
// times the options hold (EngineLandingTest's runs): the recorder's third scene pauses four
// frames late once. With retakes the recorder goes back to where the second scene ended and the
// third is recorded again, so the finished tape holds every scene on its frames, appended to the
// one before, and the bad take is gone frame for frame. Without retakes the bad take stays. What
// a longer bad take of the last scene leaves after it, nothing records over: the report says so.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "EngineFixture.h"
#include "VirtualEngine.h"
#include "sim/FaultPlan.h"

namespace {

constexpr BenchLatencies kDecks{9, 31, 52, 17, 13, 0, 0};
// The recorder's record and pause commands in order: the start's rec-pause, then a record and a
// rec-pause per scene. The third scene's rec-pause is the seventh, the last (fourth) one's the
// ninth.
constexpr const char* kThirdPauseLate = "late=2@7/4";
constexpr const char* kLastPauseLate = "late=2@9/4";
constexpr int kLateFrames = 4;

struct Recording {
    std::vector<RecordedScene> scenes;
    std::vector<tarnsim::Take> takes;
    QJsonArray checks;
    QString table;  // the verification table as the user reads it
    std::string tape;
};

class RetakeTest : public ::testing::Test {
protected:
    struct Row {
        int in, out, effect, transition;
    };
    const std::vector<Row> rows = {
        {Frames("00:01:20:00"), Frames("00:01:23:00"), 0, 0},
        // Its transition runs out at its end and in again at the retaken scene's start.
        {Frames("00:01:10:00"), Frames("00:01:12:15"), 0, 102},
        {Frames("00:01:30:00"), Frames("00:01:33:10"), 2, 0},
        {Frames("00:01:40:00"), Frames("00:01:42:00"), 0, 0},
    };

    // stopOnRetake: Stop is pressed as the recorder is being placed for the retake.
    // pausedLate: the out-point correction is this much short of the recorder's own time to
    // pause, instead of one pause command (latePause) late.
    Recording Record(int retakeAttempts, bool stopOnRetake = false, int pausedLate = 0,
                     const char* latePause = kThirdPauseLate) {
        VirtualEngine e;
        std::string error;
        EXPECT_TRUE(e.Serve(LatencyBench(kDecks, Frames("00:01:00:00"), 900), Fps30, &error))
            << error;
        auto late = tarnsim::FaultPlan::Parse(latePause, 1, &error);
        EXPECT_TRUE(late) << error;
        if (pausedLate == 0)
            e.bench.sim->SetFaultPlan(*late);
        e.host->options = OptionsFor(kDecks);
        e.host->options.outCorrection -= pausedLate;
        e.host->options.retakeAttempts = retakeAttempts;
        e.host->devices.playerHasEffects = true;
        std::vector<Scene> list;
        for (const Row& row : rows)
            list.push_back(SceneRow(row.in, row.out, row.effect, row.transition));
        e.SetScenes(list);
        e.host->stopWhen = [&e, stopOnRetake] {
            return stopOnRetake && !e.host->progressShown.empty() &&
                   e.host->progressShown.back().retake > 0;
        };
        EXPECT_EQ(e.Run(AutoKind::AutoRec),
                  stopOnRetake ? AutoResult::Stopped : AutoResult::Finished)
            << e.Log();
        if (!e.host->keptResumePoints.empty())
            kept = e.host->keptResumePoints.back();
        progressTexts = e.host->progressTexts.filter("Scene 3 of 4, retake 1");
        const auto json = QJsonDocument::fromJson(e.host->verificationJson).object();
        return {RecordedScenes(e.bench.sim->TapeSegments()), e.bench.sim->Takes(),
                json["scenes"].toArray(), e.host->verification, e.bench.sim->ReportJson()};
    }

    QStringList progressTexts;
    ResumePoint kept;
};

TEST_F(RetakeTest, ASceneThatLandedOffIsRecordedAgainOverItsBadTake) {
    const Recording run = Record(2);
    ASSERT_EQ(run.scenes.size(), rows.size()) << run.tape;
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(run.scenes[i].srcFrom, rows[i].in) << run.tape;
        // The recorder stands on the frame after the last scene, which a next one overwrites.
        EXPECT_EQ(run.scenes[i].srcTo, rows[i].out + (i + 1 == rows.size() ? 1 : 0)) << run.tape;
        if (i > 0) {
            EXPECT_EQ(run.scenes[i].recFrom, run.scenes[i - 1].recTo) << run.tape;
        }
    }
    // The retaken scene still runs the second scene's transition in, under its own effect.
    const tarnsim::TapeSegment& retakenStart = run.scenes[2].segments.front();
    EXPECT_EQ(retakenStart.first.transition, 102) << run.tape;
    EXPECT_EQ(retakenStart.first.effect, 2) << run.tape;

    // One retake: the bad take began where the retake did and none of it is left.
    ASSERT_EQ(run.takes.size(), rows.size() + 1) << run.tape;
    const tarnsim::Take& bad = run.takes[2];
    const tarnsim::Take& retake = run.takes[3];
    EXPECT_EQ(bad.recFrom, retake.recFrom);
    EXPECT_EQ(bad.frames, retake.frames + kLateFrames);
    EXPECT_EQ(bad.framesLeft, 0);

    // The report: the third scene took two attempts, the first 4 frames long, the retake right.
    ASSERT_EQ(run.checks.size(), static_cast<qsizetype>(rows.size()));
    const QJsonObject third = run.checks[2].toObject();
    EXPECT_EQ(third["attempts"].toInt(), 2);
    const QJsonArray takes = third["takes"].toArray();
    ASSERT_EQ(takes.size(), 2);
    EXPECT_EQ(takes[0].toObject()["difference_frames"].toInt(), kLateFrames);
    EXPECT_EQ(takes[1].toObject()["difference_frames"].toInt(), 0);
    EXPECT_EQ(takes[1].toObject()["seam_error_frames"].toInt(), 0);
    EXPECT_FALSE(third["still_off"].toBool());
    EXPECT_FALSE(third.contains("stray_frames")) << "the fourth scene records over them";
    EXPECT_FALSE(run.checks[1].toObject().contains("attempts"));
    EXPECT_FALSE(progressTexts.isEmpty());
}

// The last scene's bad take runs on past where its retake ends, and no scene records over those
// frames: the report tells as many as the tape holds, and names the take they are from.
TEST_F(RetakeTest, FramesTheLastScenesBadTakeLeavesAfterItsRetakeAreReported) {
    const Recording run = Record(2, false, 0, kLastPauseLate);
    ASSERT_EQ(run.takes.size(), rows.size() + 1) << run.tape;
    const tarnsim::Take& bad = run.takes[3];
    EXPECT_EQ(bad.framesLeft, kLateFrames) << run.tape;
    ASSERT_EQ(run.checks.size(), static_cast<qsizetype>(rows.size()));
    const QJsonObject last = run.checks[3].toObject();
    EXPECT_EQ(last["difference_frames"].toInt(), 0);
    EXPECT_EQ(last["stray_frames"].toInt(), bad.framesLeft) << run.tape;
    EXPECT_EQ(last["stray_take"].toInt(), 1);
    EXPECT_TRUE(run.table.contains(
        QStringLiteral("%1 frames of take 1 remain after the last scene").arg(bad.framesLeft)))
        << run.table.toStdString();
}

TEST_F(RetakeTest, WithoutRetakesTheBadTakeStaysAndTheRunGoesOnAfterIt) {
    const Recording run = Record(0);
    ASSERT_EQ(run.scenes.size(), rows.size()) << run.tape;
    ASSERT_EQ(run.takes.size(), rows.size()) << run.tape;
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(run.scenes[i].srcFrom, rows[i].in) << run.tape;
        const int late = i == 2 ? kLateFrames : 0;
        EXPECT_EQ(run.scenes[i].srcTo, rows[i].out + late + (i + 1 == rows.size() ? 1 : 0))
            << run.tape;
        if (i > 0) {
            EXPECT_EQ(run.scenes[i].recFrom, run.scenes[i - 1].recTo) << run.tape;
        }
    }
    const QJsonObject third = run.checks[2].toObject();
    EXPECT_EQ(third["difference_frames"].toInt(), kLateFrames);
    EXPECT_FALSE(third.contains("attempts"));
    EXPECT_TRUE(progressTexts.isEmpty());
}

// Stopped while the recorder goes back: the bad take is still on the tape, so the report keeps
// it, marked as the scene under retake and no evidence for a correction, and the resume point
// stays where the scene before it ended, for a resume to record over it.
TEST_F(RetakeTest, AStopWhileTheRecorderGoesBackLeavesTheResumePointBeforeTheBadTake) {
    const Recording run = Record(2, true);
    ASSERT_EQ(run.scenes.size(), 3u) << run.tape;
    EXPECT_EQ(kept.lastRow, 2);
    EXPECT_EQ(kept.recorderAt, run.scenes[1].recTo);
    ASSERT_EQ(run.checks.size(), 3);
    const QJsonObject bad = run.checks[2].toObject();
    EXPECT_EQ(bad["difference_frames"].toInt(), kLateFrames);
    EXPECT_TRUE(bad["off"].toBool());
    EXPECT_TRUE(bad["under_retake"].toBool());
    EXPECT_TRUE(run.table.contains("The run stopped during retake 1")) << run.table.toStdString();
}

// Every scene comes out long, the retake as long as its bad take: the corrections are at fault,
// which another take does not change, so no further take is recorded; the report marks the
// scenes off and offers the correction.
TEST_F(RetakeTest, ARetakeThatLandsAsOffAsItsBadTakeEndsTheRetakes) {
    const Recording run = Record(2, false, 5);
    ASSERT_EQ(run.takes.size(), rows.size() + 1) << run.tape;
    ASSERT_EQ(run.checks.size(), static_cast<qsizetype>(rows.size()));
    const QJsonObject first = run.checks[0].toObject();
    EXPECT_EQ(first["attempts"].toInt(), 2);
    EXPECT_TRUE(first["still_off"].toBool());
    for (qsizetype i = 1; i < run.checks.size(); ++i) {
        EXPECT_FALSE(run.checks[i].toObject().contains("attempts")) << i;
        EXPECT_TRUE(run.checks[i].toObject()["off"].toBool()) << i;
    }
}

}  // namespace
