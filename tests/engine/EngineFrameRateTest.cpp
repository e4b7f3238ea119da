// The engine's timing at each counting mode, in virtual time on the simulated demo bench: Goto
// pauses the player on its in point, and Auto Rec lands every scene's first and last frame and
// appends each scene to the one before. Tapes stand near a minute's end, so that drop-frame
// counting skips labels under the runs.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "EngineFixture.h"
#include "TestHost.h"
#include "VirtualBench.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "link/TarnVtr.h"

namespace {

class EngineFrameRateTest : public ::testing::TestWithParam<TCMode> {
protected:
    int Fps() const { return FramesPerSecond(GetParam()); }
    // Frames of a position given in seconds and frames.
    int At(int seconds, int frames = 0) const { return seconds * Fps() + frames; }

    void Serve(int playerPosition) {
        std::string error;
        ASSERT_TRUE(bench.Serve(EngineBench(playerPosition, 900, GetParam()), &error)) << error;
        vtr = std::make_unique<TarnVtr>(*bench.link);
        effects = std::make_unique<EffectUnit>(*bench.link);
        host = std::make_unique<TestHost>(*vtr);
        host->devices = {kPlayerId, kRecorderId, false, false};
        host->list.SetTimecodeMode(GetParam());
        engine = std::make_unique<AutoEngine>(*bench.link, *vtr, *effects, *bench.clock, captions,
                                              *host);
    }
    void TearDown() override {
        if (vtr)
            vtr->StopPolling();
    }
    void SetScenes(const std::vector<std::pair<int, int>>& scenes) {
        std::vector<Scene> rows{TapeChangeRow()};
        for (const auto& [in, out] : scenes) {
            Scene row;
            row.inText = FramesToText(in, GetParam());
            row.outText = FramesToText(out, GetParam());
            rows.push_back(row);
        }
        host->list.ReplaceRows(rows);
        host->list.SelectOnly(1);
    }
    int Run(int kind) {
        QEventLoop loop;
        int result = -1;
        QObject::connect(engine.get(), &AutoEngine::finished, &loop, [&](int r) {
            result = r;
            loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        if (kind == kAutoRec)
            engine->ReadRecorderPosition();
        engine->AutoStart(kind);
        if (result < 0)
            loop.exec();
        vtr->StopPolling();
        return result;
    }
    tarnsim::DeviceState Deck(int id) const { return *bench.sim->Device(id); }

    VirtualBench bench;
    CaptionTable captions;
    std::unique_ptr<TarnVtr> vtr;
    std::unique_ptr<EffectUnit> effects;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<AutoEngine> engine;
};

TEST_P(EngineFrameRateTest, GotoPausesThePlayerOnTheInPoint) {
    Serve(At(60));
    const int in = At(119, Fps() - 5);
    SetScenes({{in, in + At(3)}});
    ASSERT_EQ(Run(kAutoGoto), kAutoFinished);
    EXPECT_EQ(Deck(kPlayerId).pendingMode, ModePause);
    EXPECT_EQ(Deck(kPlayerId).position, in);
}

TEST_P(EngineFrameRateTest, AutoRecLandsEachSceneOnItsFramesAndAppendsIt) {
    Serve(At(60));
    // One scene cued forward across a minute's end, one cued back.
    const std::vector<std::pair<int, int>> scenes = {{At(119, 10), At(120, 20)},
                                                     {At(90), At(92, 3)}};
    SetScenes(scenes);
    ASSERT_EQ(Run(kAutoRec), kAutoFinished) << host->Log().join('\n').toStdString();

    const auto recorded = RecordedScenes(bench.sim->TapeSegments());
    ASSERT_EQ(recorded.size(), scenes.size()) << bench.sim->ReportJson();
    for (size_t i = 0; i < scenes.size(); ++i) {
        EXPECT_EQ(recorded[i].srcFrom, scenes[i].first) << i;
        // The recorder stands on the frame after the last scene, which a next one overwrites.
        const int standing = i + 1 == scenes.size() ? 1 : 0;
        EXPECT_EQ(recorded[i].srcTo, scenes[i].second + standing) << i;
    }
    EXPECT_EQ(recorded[1].recFrom, recorded[0].recTo) << "appended";
}

std::string ModeName(const ::testing::TestParamInfo<TCMode>& info) {
    return info.param == Fps25 ? "Fps25" : info.param == Fps30 ? "Fps30" : "Fps30Drop";
}

INSTANTIATE_TEST_SUITE_P(EveryCountingMode, EngineFrameRateTest,
                         ::testing::Values(Fps25, Fps30, Fps30Drop), ModeName);

}  // namespace
