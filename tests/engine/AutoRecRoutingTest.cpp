// Where Auto Rec sends the recorder's record and pause, in virtual time, when they do not go to
// the recorder itself (EngineLandingTest's runs): through the player's edit terminal with or
// without a recorder to read, or nowhere when neither is chosen. The scenes land on their frames
// either way; only a readable recorder checks them (and so allows retakes).
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "VirtualEngine.h"

namespace {

constexpr BenchLatencies kDecks{9, 31, 52, 17, 13, 0, 0};

TEST(AutoRecRoutingTest, RecordAndPauseGoWhereTheDevicesSay) {
    struct Case {
        const char* what;
        bool editTerminal;
        int recorderId;
        bool recorded;  // the scenes are on the recorder's tape
        bool readable;  // the recorder's counter checks each scene
        int terminalRecords, terminalPauses;
    };
    // Through the terminal: a record per scene, and a pause per scene and at the start at least.
    const Case cases[] = {
        {"through the edit terminal, the recorder read", true, kRecorderId, true, true, 2, 3},
        {"through the edit terminal alone", true, 0, true, false, 2, 3},
        {"no recorder and no terminal", false, 0, false, false, 0, 0},
    };
    const int in1 = Frames("00:01:20:00"), out1 = in1 + 90;
    const int in2 = Frames("00:01:30:00"), out2 = in2 + 75;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualEngine e;
        std::string error;
        ASSERT_TRUE(e.Serve(LatencyBench(kDecks, Frames("00:01:00:00"), 900), Fps30, &error))
            << error;
        e.host->options = OptionsFor(kDecks);
        e.host->devices.useEditTerminal = c.editTerminal;
        e.host->devices.recorderId = c.recorderId;
        e.SetScenes({SceneRow(in1, out1), SceneRow(in2, out2)});

        ASSERT_EQ(e.Run(AutoKind::AutoRec), AutoResult::Finished) << e.Log();

        const auto recorded = RecordedScenes(e.bench.sim->TapeSegments());
        if (c.recorded) {
            ASSERT_EQ(recorded.size(), 2u) << e.bench.sim->ReportJson();
            EXPECT_EQ(recorded[0].srcFrom, in1);
            EXPECT_EQ(recorded[0].srcTo, out1);
            EXPECT_EQ(recorded[1].srcFrom, in2);
            EXPECT_EQ(recorded[1].recFrom, recorded[0].recTo);
        } else {
            EXPECT_TRUE(recorded.empty());
        }
        EXPECT_EQ(e.Sent(kPlayerId, {0x48, 0x50, 0x70}), c.terminalRecords);
        EXPECT_GE(e.Sent(kPlayerId, {0x48, 0x50, 0x60}), c.terminalPauses);
        EXPECT_EQ(e.Sent(kRecorderId, {0x08, 0x42}), 0);
        if (c.recorderId == 0) {
            EXPECT_EQ(e.Sent(kRecorderId), 0);
        } else {
            // The recorder is still asked for its position: at the start, after each scene.
            EXPECT_GE(e.Sent(kRecorderId, {0x08, 0x4E, 0x20}), 3);
        }
        const std::vector<SceneCheck> checks = e.engine->SceneChecks();
        ASSERT_EQ(checks.size(), 2u);
        for (const SceneCheck& check : checks)
            EXPECT_EQ(check.Readable(), c.readable);
        if (c.readable) {
            EXPECT_EQ(checks[0].RecordedFrames(), out1 - in1);
            EXPECT_EQ(checks[0].endPosition, recorded[1].recFrom);
        }
        EXPECT_EQ(e.host->verification.count("recorder not readable"), c.readable ? 0 : 2);
        // Retakes are on by default; without a recorder to read the report says there are none.
        EXPECT_EQ(e.host->verification.contains("No retakes"), c.recorderId == 0);
        EXPECT_EQ(e.host->Log().contains("review enabled"), c.recorderId != 0);
        EXPECT_TRUE(e.host->Log().contains("information: Automatic editing has finished."));
    }
}

}  // namespace
