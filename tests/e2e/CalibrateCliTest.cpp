// clipwright-cli calibrate against a simulated bench far from the demo bench: the measured
// latencies against the bench's truth (also when replies get lost), --save writing [Option], the
// question without --yes, the edit terminal's player-only measurement that records nothing, and
// exit 1 when stopped, when a deck fails, when the settings cannot be written and when --save
// meets unsteady measurements without --force.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "CliProcess.h"
#include "EngineFixture.h"
#include "LatencyBench.h"

namespace {

const BenchLatencies kTruth;
constexpr int kRecorderStart = 5000;

class CalibrateCliTest : public EngineFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        ASSERT_NO_FATAL_FAILURE(Serve(LatencyBench(kTruth, 3000, kRecorderStart)));
        ReleasePort();
    }

    QStringList Args(const QStringList& more) const {
        return QStringList{"calibrate", "--port", QString::fromStdString(sim->SlavePath()),
                           "--player",  "1",      "--home",
                           home.path()} +
               more;
    }
    // The median the output gives for a measurement.
    static double Median(const QString& out, const QString& what) {
        const QRegularExpressionMatch m =
            QRegularExpression(QRegularExpression::escape(what) + ": ([0-9.]+) frames").match(out);
        return m.hasMatch() ? m.captured(1).toDouble() : -1000;
    }
    QString Ini() const {
        QFile file(home.filePath("cw20.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir home;
};

TEST_F(CalibrateCliTest, MeasuresEachLatencyOfTheBenchOnALineThatLosesRepliesAndSaves) {
    // One request in fifty goes unanswered, as on a noisy bus.
    tarnsim::FaultPlan faults(7);
    faults.SetChance(tarnsim::FaultKind::Silence, 0.02);
    sim->SetFaultPlan(faults);
    QString out;
    ASSERT_EQ(RunCli(Args({"--recorder", "2", "--yes", "--save"}), {}, &out), 0)
        << out.toStdString();
    EXPECT_NEAR(Median(out, "recorder, record until it moves"), kTruth.recorderRecord,
                kCalibrationToleranceFrames)
        << out.toStdString();
    EXPECT_NEAR(Median(out, "recorder, rec-pause until it stands"), kTruth.recorderRecPause,
                kCalibrationToleranceFrames);
    EXPECT_NEAR(Median(out, "player, pause until it stands"), kTruth.playerPause,
                kCalibrationToleranceFrames);
    EXPECT_NEAR(Median(out, "player, play until it moves"), kTruth.playerPlay,
                kCalibrationToleranceFrames);
    EXPECT_NEAR(Median(out, "recorder, pause until it stands"), kTruth.recorderPause,
                kCalibrationToleranceFrames);
    // What it printed is what it wrote.
    const QString ini = Ini();
    for (const char* key : {"InPoint", "OutPoint", "PlayerPauseLead", "RecorderPauseLead"}) {
        const QRegularExpressionMatch printed =
            QRegularExpression(QStringLiteral("\\[Option\\] %1=(\\d+)").arg(key)).match(out);
        ASSERT_TRUE(printed.hasMatch()) << key;
        EXPECT_TRUE(ini.contains(QStringLiteral("%1=%2").arg(key, printed.captured(1))))
            << key << '\n'
            << ini.toStdString();
    }
    // The recorder is back where it stood, in rec-pause.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Deck(kRecorderId).busy; }, 5000));
    EXPECT_EQ(Deck(kRecorderId).position, kRecorderStart);
    EXPECT_EQ(Deck(kRecorderId).mode, ModeRecordPause);
}

TEST_F(CalibrateCliTest, AsksBeforeRecordingAndThroughTheEditTerminalRecordsNothing) {
    QString out;
    EXPECT_EQ(RunCli(Args({"--recorder", "2", "--save"}), "n\n", &out), 1);
    EXPECT_TRUE(out.contains("Go on? [y/N]")) << out.toStdString();
    EXPECT_EQ(SentTo(kRecorderId), 0);
    EXPECT_FALSE(QFile::exists(home.filePath("cw20.ini")) && Ini().contains("InPoint"));

    // A settings file that cannot be replaced (a folder in its place): the values are printed,
    // the failed write is said with its reason, and the exit is 1.
    QFile::remove(home.filePath("cw20.ini"));
    ASSERT_TRUE(QDir(home.path()).mkdir("cw20.ini"));
    EXPECT_EQ(RunCli(Args({"--edit-terminal", "--recorder", "2", "--save"}), {}, &out), 1)
        << out.toStdString();
    EXPECT_TRUE(out.contains("Only the player is measured")) << out.toStdString();
    EXPECT_FALSE(out.contains("Go on?")) << "nothing records";
    EXPECT_NEAR(Median(out, "player, pause until it stands"), kTruth.playerPause,
                kCalibrationToleranceFrames);
    EXPECT_TRUE(out.contains("calibrate: PlayerPauseLead was not written to " +
                             home.filePath("cw20.ini") + ": "))
        << out.toStdString();
    EXPECT_FALSE(
        out.contains(QRegularExpression("^written to", QRegularExpression::MultilineOption)))
        << out.toStdString();
    EXPECT_TRUE(sim->TapeSegments().empty()) << "the recorder recorded";
    EXPECT_EQ(SentTo(kRecorderId), 0);
    EXPECT_EQ(Sent(kPlayerId, {0x48, 0x50, 0x70}), 0) << "the edit terminal was told to record";
}

TEST_F(CalibrateCliTest, SaveRefusesUnsteadyMeasurementsUnlessForced) {
    BenchLatencies varying = kTruth;
    varying.jitter = 6;
    sim->Stop();
    ASSERT_NO_FATAL_FAILURE(Serve(LatencyBench(varying, 3000, kRecorderStart)));
    ReleasePort();
    QString out;
    EXPECT_EQ(RunCli(Args({"--save"}), {}, &out), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("UNSTEADY")) << out.toStdString();
    EXPECT_TRUE(out.contains("--force")) << out.toStdString();
    EXPECT_FALSE(Ini().contains("PlayerPauseLead")) << Ini().toStdString();

    EXPECT_EQ(RunCli(Args({"--save", "--force"}), {}, &out), 0) << out.toStdString();
    EXPECT_TRUE(Ini().contains("PlayerPauseLead=")) << Ini().toStdString();
}

TEST_F(CalibrateCliTest, CtrlCOrADeckThatDoesNotAnswerEndsWithExitOneAndSavesNothing) {
    QProcess cli;
    cli.start(CLIPWRIGHT_CLI_PATH, Args({"--recorder", "2", "--yes", "--save"}));
    ASSERT_TRUE(cli.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Deck(kRecorderId).mode == ModeRecord; }, 60000));
    ASSERT_EQ(::kill(static_cast<pid_t>(cli.processId()), SIGINT), 0);
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString out = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    EXPECT_EQ(cli.exitCode(), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("calibrate: stopped")) << out.toStdString();
    EXPECT_FALSE(Ini().contains("InPoint"));

    // No deck at id 9.
    QString silent;
    EXPECT_EQ(RunCli(QStringList{"calibrate", "--port", QString::fromStdString(sim->SlavePath()),
                                 "--player", "9", "--home", home.path(), "--save"},
                     {}, &silent),
              1);
    EXPECT_TRUE(silent.contains("did not answer")) << silent.toStdString();
    EXPECT_FALSE(Ini().contains("PlayerPauseLead"));
}

}  // namespace
