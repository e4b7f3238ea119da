// A deck or the whole port lost in the middle of an Auto Rec: the run ends with the program's
// final message within seconds (a lost recorder is waited for to take its pause first, and is
// then said to be possibly still recording), the deck still there is left safe (a recorder in
// rec-pause, a player stopped), and a port that comes back is used again. Each case prints its time
// from the loss to the final message as device_loss_stop_ms (scripts/bench device-loss runs them on
// a simulator at real time and line pace).
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "EngineFixture.h"
#include "engine/RecorderPause.h"
#include "link/TarnCommands.h"
#include "link/TarnVtr.h"
#include "sim/FaultPlan.h"

namespace {

const int kIn = Frames("00:01:20:00"), kOut = kIn + 390;

// Generous: the figure itself is the benchmark's; this only catches a run that hangs on. A run
// that lost the recorder first waits for it to come back and take its pause.
constexpr int kStopLimitMs = 8000;
constexpr int kRecorderLostLimitMs =
    kStopLimitMs + static_cast<int>(recorderpause::kConfirmLimitUs / 1000);

class DeviceLossTest : public EngineFixture {
protected:
    void SetUp() override {
        Serve(EngineBench(Frames("00:01:00:00")));
        SetScenes({SceneRow(kIn, kOut)});
    }

    // Runs the list until the recorder records, then calls lose() and measures from there to
    // the final message, which must come within limitMs.
    void RunAndLose(const char* what, const std::function<void()>& lose,
                    int limitMs = kStopLimitMs) {
        QElapsedTimer sinceLoss;
        const std::optional<AutoResult> result = RunAutoRec([&] {
            if (sinceLoss.isValid() || Deck(kRecorderId).mode != ModeRecord)
                return;
            lose();
            sinceLoss.start();
        });
        ASSERT_TRUE(sinceLoss.isValid()) << "the recorder never recorded";
        const qint64 stopMs = sinceLoss.elapsed();
        std::printf("device_loss_stop_ms=%lld (%s)\n", static_cast<long long>(stopMs), what);
        EXPECT_LT(stopMs, limitMs) << what;
        EXPECT_EQ(result, AutoResult::Failed);
        EXPECT_TRUE(FinalMessage().startsWith("warning: Automatic editing has stopped")) << what;
    }

    QString FinalMessage() const {
        const QStringList warnings = host->Log().filter(QStringLiteral("warning: "));
        return warnings.isEmpty() ? QString() : warnings.last();
    }

    void Vanish(int id) {
        tarnsim::FaultPlan plan;
        plan.AddVanish(id, simClock->NowMicros());
        sim->SetFaultPlan(plan);
    }
};

TEST_F(DeviceLossTest, APlayerFallingSilentLeavesTheRecorderInRecPause) {
    RunAndLose("player silent", [&] { Vanish(kPlayerId); });
    EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecordPause);
}

TEST_F(DeviceLossTest, ARecorderFallingSilentIsToldToPauseAndThePlayerIsStopped) {
    // The scene runs on for seconds after the loss: the run must not wait for its out point.
    const TarnCommand& pause = tarncmd::kRecordPause;
    const std::initializer_list<uint8_t> recPause{pause[0], pause[1], pause[2]};
    int pausesBefore = 0;
    RunAndLose(
        "recorder silent",
        [&] {
            pausesBefore = Sent(kRecorderId, recPause);
            Vanish(kRecorderId);
        },
        kRecorderLostLimitMs);
    EXPECT_EQ(Deck(kPlayerId).pendingMode, ModeStop);
    EXPECT_FALSE(FinalMessage().contains("hung up"));
    EXPECT_TRUE(FinalMessage().contains("may still be recording"));
    // A recorder that hears nothing records on until its own stop key; the run still asked it to
    // pause, which a recorder silent only for a moment would have obeyed.
    EXPECT_GT(Sent(kRecorderId, recPause), pausesBefore);
    EXPECT_EQ(Deck(kRecorderId).mode, ModeRecord);
}

TEST_F(DeviceLossTest, AnUnpluggedPortEndsTheRunAndIsUsedAgainWhenItComesBack) {
    // The program reaches the port by a name that outlives the device behind it, as
    // /dev/ttyUSB0 does for an adapter that is unplugged and plugged in again.
    QTemporaryDir dir;
    const std::string port = dir.filePath("ttyUSB0").toStdString();
    ASSERT_EQ(symlink(sim->SlavePath().c_str(), port.c_str()), 0);
    ASSERT_TRUE(comm.OpenPath(QString::fromStdString(port)) && comm.Configure());

    // An unplugged adapter's name goes with it. Left in place, the name would lead the program's
    // attempts to reopen it to whatever terminal gets the freed number next, perhaps another
    // test's simulator.
    RunAndLose(
        "port hung up",
        [&] {
            unlink(port.c_str());
            sim->Stop();
        },
        kRecorderLostLimitMs);
    EXPECT_TRUE(comm.HungUp());
    EXPECT_TRUE(FinalMessage().contains(
        QStringLiteral("the serial port %1 hung up").arg(QString::fromStdString(port))));

    std::string error;
    tarnsim::SimOptions options;
    options.pacing = false;
    tarnsim::Simulator replugged(*tarnsim::Bench::FromJson(EngineBench(0), &error), options);
    ASSERT_TRUE(replugged.Start(&error)) << error;
    ASSERT_EQ(symlink(replugged.SlavePath().c_str(), port.c_str()), 0);
    EXPECT_TRUE(vtr->QueryStatus(kPlayerId).ok);
    EXPECT_FALSE(comm.HungUp());
    comm.Close();
}

}  // namespace
