// The tarn-sim executable: announces its pseudo-terminal, serves it, and ends cleanly on a
// signal with its report written; bad benches and options end it with an error.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "sim/SimFixture.h"

namespace {

TEST(TarnSimProcess, servesTheDemoBenchAndWritesItsReportOnSigtermOrSigint) {
    {
        QTemporaryDir dir;
        const QString report = dir.filePath("report.json");
        QProcess process;
        process.start(TARN_SIM_PATH, {"--bench", DEMO_BENCH_PATH, "--report", report});
        ASSERT_TRUE(process.waitForReadyRead(10000));
        EXPECT_TRUE(process.readLine().startsWith("pty=/dev/"));
        kill(static_cast<pid_t>(process.processId()), SIGINT);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        QFile file(report);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QJsonDocument::fromJson(file.readAll())["segments"].isArray());
    }
    QTemporaryDir dir;
    const QString report = dir.filePath("report.json");
    const QString link = dir.filePath("tarn-port");
    QProcess process;
    process.start(TARN_SIM_PATH, {"--bench", DEMO_BENCH_PATH, "--no-pacing", "--report", report,
                                  "--link", link, "--transcript", dir.filePath("t.txt")});
    ASSERT_TRUE(process.waitForReadyRead(10000));
    const QString first = QString::fromUtf8(process.readLine()).trimmed();
    ASSERT_TRUE(first.startsWith("pty=")) << first.toStdString();

    PtyLine line(link.toStdString());  // through the link, which names the same terminal
    ASSERT_TRUE(line.IsOpen());
    EXPECT_EQ(Hex(line.Exchange(RequestFrame(1, {0x7C, 0x49}))),
              Hex(ReplyFrame(1, 0x03, {0x07, 0x08, 0x18})));
    EXPECT_EQ(Hex(line.Exchange(RequestFrame(2, {0x7C, 0x49}))),
              Hex(ReplyFrame(2, 0x03, {0x01, 0x08})));

    // The player plays and records through its edit terminal for about two seconds.
    EXPECT_EQ(line.Exchange(RequestFrame(1, {0x08, 0x43, 0x75})).size(), 11u);
    EXPECT_EQ(line.Exchange(RequestFrame(1, {0x48, 0x50, 0x70})).size(), 11u);
    QThread::msleep(2500);

    kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray segments = QJsonDocument::fromJson(file.readAll())["segments"].toArray();
    ASSERT_GE(segments.size(), 1);
    const QJsonObject take = segments[0].toObject();
    EXPECT_EQ(take["recorder"].toInt(), 2);
    EXPECT_EQ(take["player"].toInt(), 1);
    EXPECT_EQ(take["picture"].toString(), "play");
    EXPECT_GT(take["rec_to"].toInt() - take["rec_from"].toInt(), 10);
    EXPECT_FALSE(QFileInfo::exists(link));
    QFile transcript(dir.filePath("t.txt"));
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    EXPECT_TRUE(transcript.readAll().contains("<- FF FF 01 7C 49"));
}

TEST(TarnSimProcess, refusesAMalformedBenchOrOptionWithAMessage) {
    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"devices": [{"id": 1, "category": 1, "groups": [8]}]})");
    bad.close();
    const QStringList cases[] = {{"--bench", bad.fileName()},
                                 {"--bench", DEMO_BENCH_PATH, "--seed", "x"},
                                 {"--bench", DEMO_BENCH_PATH, "--faults", "thunder=1"},
                                 {"--link"}};
    for (const QStringList& args : cases) {
        QProcess process;
        process.start(TARN_SIM_PATH, args);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_NE(process.exitCode(), 0) << args.join(' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().startsWith("tarn-sim: "));
    }
}

}  // namespace
