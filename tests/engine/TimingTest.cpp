// The engine's timing parts on their own: where a counter read about once a frame stands
// between its readings, and what the verification report makes of recorded lengths.
#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "engine/CommandScheduler.h"
#include "engine/CounterPhase.h"
#include "engine/VerificationReport.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnVtr.h"

namespace {

// A tape at `fps` that was at frame 0 at `zeroUs`, read every `periodUs` from `fromUs`.
void Feed(CounterPhase& phase, double fps, int64_t zeroUs, int64_t fromUs, int64_t periodUs,
          int readings) {
    for (int i = 0; i < readings; ++i) {
        const int64_t t = fromUs + i * periodUs;
        phase.Observe(static_cast<int32_t>(std::floor((t - zeroUs) * fps / 1e6)), t);
    }
}

TEST(CounterPhaseTest, ReadingsAboutOnceAFrameGiveThePositionToATenthOfAFrame) {
    // Rates that are not the counting mode's (a slow deck, a clock that runs at another pace)
    // and poll periods that drift against the frames. (A period locked to the frames' would
    // leave the phase open by up to half a frame: every reading would fall at the same place.)
    for (const double fps : {29.97, 30.0, 25.0, 90.0}) {
        for (const int64_t period : {int64_t{28'700}, int64_t{31'000}, int64_t{41'000}}) {
            CounterPhase phase;
            const int64_t zero = 1'000'037;
            Feed(phase, fps, zero, 2'000'000, period, 90);
            ASSERT_TRUE(phase.Known()) << fps << " " << period;
            const int64_t now = 2'000'000 + 90 * period;
            const double truth = (now - zero) * fps / 1e6;
            EXPECT_NEAR(phase.PositionAt(now), truth, 0.1) << fps << " " << period;
            EXPECT_NEAR(phase.FramesPerSecond(), fps, fps * 0.005);
            EXPECT_NEAR(phase.TimeOf(truth + 2), now + 2 / fps * 1e6, 0.1 / fps * 1e6);
        }
    }
}

TEST(CounterPhaseTest, AJumpAStandstillOrReadingsAtRestAreNotTakenForTheMotion) {
    CounterPhase phase;
    // At rest, then moving: only the motion counts.
    for (int i = 0; i < 20; ++i)
        phase.Observe(100, i * 33'000);
    EXPECT_FALSE(phase.Known());
    const int64_t zero = 660'000 - static_cast<int64_t>(100 * 1e6 / 30);
    Feed(phase, 30, zero, 700'000, 31'000, 30);
    ASSERT_TRUE(phase.Known());
    const int64_t now = 700'000 + 30 * 31'000;
    EXPECT_NEAR(phase.PositionAt(now), (now - zero) * 30 / 1e6, 0.2);
    // A jump (a new cue) starts over.
    phase.Observe(5000, 700'000 + 31 * 31'000);
    EXPECT_FALSE(phase.Known());
    // So does a tape that stands: the counter no longer follows the estimate.
    CounterPhase standing;
    Feed(standing, 30, 0, 100'000, 31'000, 20);
    ASSERT_TRUE(standing.Known());
    const int32_t last = static_cast<int32_t>(std::floor(720'000 * 30 / 1e6));
    for (int i = 0; i < 5; ++i)
        standing.Observe(last, 800'000 + i * 31'000);
    EXPECT_FALSE(standing.Known());
}

TEST(CounterPhaseTest, AReplyThatCameInLateNeverThrowsTheEstimateOff) {
    // A reply held up for 150 ms (a busy machine) brings an old counter at a late moment, in the
    // middle of a motion or as the first reading after the estimate started over. From then on,
    // whenever the estimate counts as known, it holds.
    const double fps = 30;
    const int64_t period = 31'000, lateBy = 150'000;
    const auto counterAt = [fps](int64_t us) {
        return static_cast<int32_t>(std::floor(static_cast<double>(us) * fps / 1e6));
    };
    for (const bool atStart : {false, true}) {
        CounterPhase phase;
        int64_t t = 100'000;
        if (!atStart) {
            Feed(phase, fps, 0, t, period, 30);
            t += 30 * period;
        }
        phase.Observe(counterAt(t), t + lateBy);
        for (int i = 1; i <= 90; ++i) {
            const int64_t now = t + lateBy + i * period;
            phase.Observe(counterAt(now), now);
            if (phase.Known()) {
                ASSERT_NEAR(phase.PositionAt(now), static_cast<double>(now) * fps / 1e6, 0.5)
                    << atStart << " " << i;
            }
        }
        ASSERT_TRUE(phase.Known()) << atStart;
        EXPECT_NEAR(phase.FramesPerSecond(), fps, fps * 0.01) << atStart;
    }
}

SceneCheck Check(int row, int expected, std::optional<int32_t> start, std::optional<int32_t> end) {
    SceneCheck check;
    check.row = row;
    check.expectedFrames = expected;
    check.startPosition = start;
    check.endPosition = end;
    return check;
}

// A clock the test sets; a wait jumps to its aim.
class SetClock final : public Clock {
public:
    int64_t NowMs() const override { return now / 1000; }
    int64_t NowUs() const override { return now; }
    int64_t Sleep(int ms) override {
        now += ms * 1000;
        return ms;
    }
    void WaitUntilUs(int64_t us) override { now = std::max(now, us); }
    int64_t now = 0;
};

TEST(CommandSchedulerTest, ACommandIsHeldToItsMomentOnlyWhenNoLaterChanceComesInTime) {
    // A tape at 25 fps that was at frame 0 at 1 s, polled every 31 ms; each step check runs 2 ms
    // after its reply was heard.
    SetClock clock;
    CommandScheduler scheduler(clock);
    constexpr int64_t kZeroUs = 1'000'000;
    int64_t heard = 2'000'000;
    for (int i = 0; i < 60; ++i, heard += 31'000) {
        clock.now = heard + 2'000;
        StatusSample sample;
        sample.hasCounter = true;
        sample.counter = static_cast<int32_t>((heard - kZeroUs) / 40'000);
        sample.heardUs = heard;
        scheduler.Observe(sample, true);
    }
    ASSERT_TRUE(scheduler.Known());
    // The exchange ran from its request's first byte until the step check.
    EXPECT_EQ(scheduler.ExchangeUs(), 2'000 + linktiming::kRequestLineUs);
    const int64_t now = clock.now;
    const double at = (now - kZeroUs) / 40'000.0;  // where the tape stands now
    // Aimed 4 frames ahead with a lead of 1.5 frames: written 2.5 frames from now, less the
    // request's own time on the line.
    const int64_t aim = now + 100'000 - linktiming::kRequestLineUs;
    EXPECT_NEAR(scheduler.WriteMomentUs(at + 4, 1.5), aim, 4'000);  // a tenth of a frame
    struct Case {
        double position, lead, holdExchanges;
        bool sent;
    } const cases[] = {
        {at + 4, 1.5, 1, false},  // a later chance comes before its moment
        {at + 4, 1.5, 10, true},  // none does: held back to the moment, then sent
        {at + 1, 1.5, 0, true},   // its moment has passed: sent at once
    };
    for (const Case& c : cases) {
        clock.now = now;
        const int64_t moment = scheduler.WriteMomentUs(c.position, c.lead);
        EXPECT_EQ(scheduler.MomentHasCome(c.position, c.lead, c.holdExchanges, 0), c.sent);
        EXPECT_EQ(clock.now, c.sent ? std::max(now, moment) : now) << c.position << " " << c.lead;
    }
    // Without a known motion the counter decides: sent once it has reached position - lead.
    scheduler.Reset();
    EXPECT_FALSE(scheduler.MomentHasCome(100.5, 10, 2.5, 89));
    EXPECT_TRUE(scheduler.MomentHasCome(100.5, 10, 2.5, 90));
}

// A correction changes every later scene: it is offered only from at least three scenes whose
// last take stands measured on the tape and whose differences agree within a frame.
TEST(VerificationReportTest, OffersAnOutCorrectionOnlyFromEnoughMeasuredScenesThatAgree) {
    const auto scenes = [](std::initializer_list<int> differences) {
        std::vector<SceneCheck> checks;
        int32_t at = 0;
        for (const int difference : differences) {
            checks.push_back(
                Check(static_cast<int>(checks.size()) + 1, 90, at, at + 90 + difference));
            at += 90 + difference;
        }
        return checks;
    };
    std::vector<SceneCheck> underRetake = scenes({3, 3, 3});
    underRetake.back().underRetake = true;
    // A third scene whose retake could not be read: only its replaced take was measured.
    std::vector<SceneCheck> retaken = scenes({3, 3});
    retaken.push_back(Check(3, 90, 186, std::nullopt));
    retaken.back().earlierTakes = {{3, 0}};
    struct Case {
        std::vector<SceneCheck> checks;
        int outCorrection;
        std::optional<int> suggested;
    };
    const Case cases[] = {
        {scenes({3, 2, 3}), 10, 13},         // 2.7 frames long on average
        {scenes({3, 3}), 10, {}},            // too few to tell chance from the decks
        {scenes({3, 1, 3}), 10, {}},         // they do not agree within a frame
        {scenes({1, 0, 1}), 10, {}},         // within the counter's rounding
        {underRetake, 10, {}},               // the run stopped while the third was recorded over
        {retaken, 10, {}},                   // a take a retake replaced is no evidence
        {scenes({-4, -4, -4}), 2, 0},        // never below zero
        {scenes({250, 250, 250}), 10, 200},  // nor beyond the options' range
    };
    for (const Case& c : cases) {
        const VerificationReport report(c.checks, 1, c.outCorrection);
        EXPECT_EQ(report.SuggestedOutCorrection(), c.suggested) << report.Json().toStdString();
        EXPECT_EQ(report.Json().contains("\"correction_from_scenes\": 3"), c.suggested.has_value());
    }
}

// The overall verdict and the stop reason as a JSON reader finds them.
TEST(VerificationReportTest, TheVerdictSaysWithinAFrameSomeOffOrUnknown) {
    struct Case {
        std::vector<SceneCheck> scenes;
        const char* verdict;
    };
    const std::vector<Case> cases = {
        {{Check(1, 150, 0, 151), Check(2, 90, 151, 240)}, "all_within_one_frame"},
        {{Check(1, 150, 0, 152), Check(2, 90, 152, std::nullopt)}, "some_off"},
        {{Check(1, 150, 0, 150), Check(2, 90, 150, std::nullopt)}, "unknown"},
        {{}, "unknown"},
    };
    for (const Case& c : cases) {
        const VerificationReport report(c.scenes, 1, 10);
        EXPECT_TRUE(report.Json().contains(QByteArray("\"verdict\": \"") + c.verdict + '"'))
            << c.verdict << report.Json().toStdString();
    }
    const VerificationReport stopped({Check(1, 150, 0, 153)}, 1, 10,
                                     {StopCause::NoAnswer, StopDeck::Recorder, StopStep::InPoint});
    const QByteArray json = stopped.Json();
    EXPECT_TRUE(json.contains("\"off\": true"));
    EXPECT_TRUE(json.contains("\"cause\": \"no_answer\"")) << json.toStdString();
    EXPECT_TRUE(json.contains("\"deck\": \"recorder\""));
    EXPECT_TRUE(json.contains("\"step\": \"in_point\""));
    EXPECT_FALSE(VerificationReport({}, 1, 10).Json().contains("stop_reason"));
}

TEST(VerificationReportTest, AnUnreadableRecorderIsSaidPerSceneNotGuessed) {
    SceneCheck blind;
    blind.row = 3;
    blind.expectedFrames = 120;
    // After a reading that failed, the next scene's start is unknown: no length is measured
    // from an older seam, however its end reads.
    const VerificationReport report(
        {Check(1, 150, 900, 1050), blind, Check(4, 60, std::nullopt, 1300)}, 1, 10);
    const QByteArray json = report.Json();
    EXPECT_TRUE(json.contains("\"seam\": \"00:00:35:00\"")) << json.toStdString();
    EXPECT_EQ(json.count("\"readable\": false"), 2);
    EXPECT_FALSE(json.contains("\"recorded_frames\": 250"));
    EXPECT_FALSE(report.SuggestedOutCorrection());
}

}  // namespace
