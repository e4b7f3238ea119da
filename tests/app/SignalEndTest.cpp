// A logout or kill while the program records: SIGTERM stops the Auto Rec as Stop does, the
// recorder stands in rec-pause within a second, the resume point is kept, no box waits for an
// answer, and the program ends as closing its main window ends it, without the questions.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "BenchProgram.h"
#include "EngineFixture.h"
#include "ScriptedPrompts.h"
#include "app/AppContext.h"
#include "app/ProgramWindows.h"
#include "app/SignalEnd.h"
#include "controller/SkinKey.h"

namespace {

// Scene i (0-based) of the list: three seconds, ten seconds after the one before.
int InPoint(int i) {
    return Frames("00:01:20:00") + i * 300;
}

TEST(SignalEndTest, SigtermWhileRecordingPausesTheRecorderKeepsTheResumePointAndEnds) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    tarnsim::SimOptions options;
    options.pacing = kSimPacing;
    options.clock = std::make_shared<ScaledSimClock>(kSimTimeScale);
    std::string error;
    auto bench = tarnsim::Bench::FromJson(EngineBench(Frames("00:01:00:00")), &error);
    ASSERT_TRUE(bench.has_value()) << error;
    tarnsim::Simulator sim(*bench, options);
    ASSERT_TRUE(sim.Start(&error)) << error;
    QByteArray list =
        "TCMode\t001\r\nScenes\t004\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
        "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape 1\r\n";
    for (int i = 0; i < 3; ++i)
        list += QStringLiteral("%1\t %2\t %3\t000\t000\t0\tscene\r\n")
                    .arg(i + 1, 3, 10, QChar(u'0'))
                    .arg(FramesToText(InPoint(i), Fps30), FramesToText(InPoint(i) + 90, Fps30))
                    .toLatin1();
    QFile file(home.filePath("list.cwf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(list) == list.size());
    file.close();

    AppContext context(ProgramFolder(home.path(), {QApplication::applicationDirPath()}), 9,
                       home.path());
    ConfigureForBench(context, QString::fromStdString(sim.SlavePath()));
    ScriptedPrompts prompts;
    ProgramWindows windows(context, prompts, file.fileName());
    SignalEnd signalEnd(windows);
    windows.mainWindow().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.mainWindow().firstShowDone(); }, 20000));
    windows.mainWindow().OpenController();
    TfrmAvCtl& controller = windows.deck().controller();
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.remote().transportOn(); }, 20000));
    context.scenes().SelectOnly(1);
    controller.key(QStringLiteral("btnAutoRec"))->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return sim.Device(kRecorderId)->mode == ModeRecord &&
                   sim.Device(kPlayerId)->position > InPoint(1) + 30;
        },
        120000));

    ASSERT_EQ(std::raise(SIGTERM), 0);
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Device(kRecorderId)->mode != ModeRecord; }, 5000));
    EXPECT_LT(sinceSignal.elapsed(), 1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !windows.mainWindow().isVisible(); }, 30000));
    EXPECT_FALSE(windows.deck().engine().IsRunning());
    EXPECT_EQ(sim.Device(kRecorderId)->pendingMode, ModeRecordPause);
    EXPECT_EQ(windows.deck().resumePoint().lastRow, 1);
    EXPECT_TRUE(prompts.questions.isEmpty()) << prompts.questions.join('|').toStdString();
    EXPECT_TRUE(prompts.warnings.isEmpty()) << prompts.warnings.join('|').toStdString();
}

}  // namespace
