// clipwright-cli autorec and tapereport against the simulated bench: what a terminal user sees,
// the exit codes, the tape-change question on standard input, and the recorder's tape.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdlib>

#include "CliProcess.h"
#include "EngineFixture.h"
#include "config/GuardNote.h"
#include "config/SettingsFile.h"
#include "edit/SceneList.h"
#include "engine/ResumePoint.h"

namespace {

// The process is held by a stop signal (its state in /proc is T).
bool ProcessStopped(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype end = text.lastIndexOf(')');
    return end > 0 && text.mid(end + 2, 1) == "T";
}

// The processes pid started (from any of its threads).
std::vector<pid_t> ChildrenOf(pid_t pid) {
    std::vector<pid_t> children;
    for (const QString& task : QDir(QStringLiteral("/proc/%1/task").arg(pid))
                                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(QStringLiteral("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : file.readAll().split(' '))
            if (child.trimmed().toInt() > 0)
                children.push_back(child.trimmed().toInt());
    }
    return children;
}

class AutoRecCliTest : public EngineFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        // 30 fps editing options, as the bench counts.
        WriteFile("cw20.ini", "[Setup]\r\nFrameMode=1\r\n");
    }

    void WriteFile(const QString& name, const QByteArray& text) {
        QFile file(home.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // A list of a scene, a tape change and a second scene.
    void WriteList() {
        WriteFile("list.cwf",
                  "TCMode\t001\r\nScenes\t004\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\t"
                  "Memo\r\n"
                  "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape 1\r\n"
                  "001\t 00:01:20:00\t 00:01:23:00\t000\t000\t0\tfirst\r\n"
                  "002\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape 2\r\n"
                  "003\t 00:01:30:00\t 00:01:32:15\t000\t000\t0\tsecond\r\n");
    }

    // Six scenes of three seconds, ten seconds apart, the first at 00:01:20:00 (`shift` frames
    // later for all but the first, to make a changed list).
    void WriteSixScenes(const QString& name, int shift = 0) {
        QByteArray text =
            "TCMode\t001\r\nScenes\t007\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
            "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape 1\r\n";
        for (int i = 1; i <= 6; ++i) {
            const int in = Frames("00:01:20:00") + (i - 1) * 300 + (i > 1 ? shift : 0);
            text += QStringLiteral("%1\t %2\t %3\t000\t000\t0\tscene\r\n")
                        .arg(i, 3, 10, QChar(u'0'))
                        .arg(FramesToText(in, Fps30), FramesToText(in + 90, Fps30))
                        .toLatin1();
        }
        WriteFile(name, text);
    }

    // The fingerprint of the list WriteSixScenes writes, as the program makes it.
    static QString SixScenesFingerprint() {
        Scene tape = TapeChangeRow();
        tape.inText = tape.outText = QStringLiteral("00:00:00:00");
        std::vector<Scene> rows{tape};
        for (int i = 0; i < 6; ++i) {
            const int in = Frames("00:01:20:00") + i * 300;
            rows.push_back(SceneRow(in, in + 90));
        }
        SceneList list(Fps30);
        list.ReplaceRows(rows);
        return ListFingerprint(list);
    }

    // Runs clipwright-cli with args (and the test's program folder) and stdin; its exit code,
    // with its output in *out.
    int Cli(const QStringList& args, const QByteArray& input, QString* out) {
        return CliWithoutHome(args + QStringList{"--home", home.path()}, input, out);
    }
    int CliWithoutHome(const QStringList& args, const QByteArray& input, QString* out) {
        return RunCli(args, input, out);
    }

    QStringList AutoRecArgs() const {
        return {"autorec",    home.filePath("list.cwf"),
                "--port",     QString::fromStdString(sim->SlavePath()),
                "--player",   "1",
                "--recorder", "2"};
    }

    QTemporaryDir home;
};

// The run also writes the diagnostics file, with the log switched on.
TEST_F(AutoRecCliTest, RecordsTheListConfirmingTheTapeChangeAndReportsTheTape) {
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteList();
    // A path in the settings, which the diagnostics file must show without the user's folders.
    WriteFile("cw20.ini", "[Setup]\r\nFrameMode=1\r\n[Directories]\r\nProgram=" +
                              home.filePath("list.cwf").toUtf8() + "\r\n");
    ReleasePort();

    QString out;
    const QString diagnosticsPath = home.filePath("diagnostics.txt");
    EXPECT_EQ(Cli(AutoRecArgs() << "--yes"
                                << "--verbose"
                                << "--diagnostics" << diagnosticsPath,
                  {}, &out),
              0)
        << out.toStdString();

    EXPECT_TRUE(out.contains("row 01: 00:01:20:00 - 00:01:23:00")) << out.toStdString();
    EXPECT_TRUE(out.contains("Scene 1 of 2, Tape left to record: 00:00:05:15, 0% of the list"));
    // From the second scene on, the real time left at the pace of the first.
    EXPECT_TRUE(
        out.contains(QRegularExpression("Scene 2 of 2, Tape left to record: 00:00:02:15, "
                                        "Time left: about 0:[0-5][0-9], 54% of the list")));
    EXPECT_TRUE(
        out.contains("then click OK. Stop ends the Auto Rec here; it can be resumed "
                     "later.\nNext: Tape 2"));
    EXPECT_TRUE(out.contains("Automatic editing has finished."));
    ASSERT_TRUE(sim->WriteReport(home.filePath("report.json").toStdString(), nullptr));
    EXPECT_EQ(
        Cli({"tapereport", home.filePath("report.json"), home.filePath("list.cwf")}, {}, &out), 0)
        << out.toStdString();
    const QRegularExpressionMatch figures =
        QRegularExpression("autorec_max_error_frames=(\\d+) autorec_mean_error_frames=[0-9.]+")
            .match(out);
    ASSERT_TRUE(figures.hasMatch()) << out.toStdString();

    QFile file(diagnosticsPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString diagnostics = QString::fromUtf8(file.readAll());
    // Both decks' exchanges of this run, answered, with the run's ending and table.
    for (const char* deck : {"01", "02"}) {
        EXPECT_TRUE(diagnostics.contains(QRegularExpression(
            QStringLiteral("\\n\\d\\d:\\d\\d:\\d\\d\\.\\d{3} UTC +\\d+\\.\\d ms  FF FF %1 "
                           "[0-9A-F ]+ -> FC FF %1 [0-9A-F ]+  ok\\n")
                .arg(deck))))
            << deck;
    }
    EXPECT_TRUE(
        diagnostics.contains("== Last Auto Rec ==\nfinished\nScene  Row  Expected (frames)"))
        << diagnostics.toStdString();
    EXPECT_TRUE(diagnostics.contains("Program=<program folder>/list.cwf"));
    EXPECT_TRUE(diagnostics.contains("clipwright.files: opened <program folder>/list.cwf"));
    EXPECT_TRUE(diagnostics.contains("clipwright.link: opened"));
    EXPECT_FALSE(diagnostics.contains(home.path())) << diagnostics.toStdString();
    EXPECT_FALSE(diagnostics.contains(QDir::homePath() + u'/')) << diagnostics.toStdString();

    SKIP_WHERE_FRAMES_UNCHECKABLE();
    EXPECT_LE(figures.captured(1).toInt(), kFrameTolerance);
}

TEST_F(AutoRecCliTest, CtrlCStopsABackgroundRunAndAnotherProcessResumesIt) {
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteSixScenes("list.cwf");
    WriteSixScenes("changed.cwf", 1);
    ReleasePort();

    // A shell without job control starts a background command with Ctrl+C ignored.
    QProcess shell;
    shell.start("/bin/sh",
                QStringList{"-c", "\"$0\" \"$@\" & echo $!; wait $!", CLIPWRIGHT_CLI_PATH} +
                    AutoRecArgs() + QStringList{"--home", home.path()});
    ASSERT_TRUE(shell.waitForReadyRead(10000));
    const qint64 pid = shell.readLine().trimmed().toLongLong();
    ASSERT_GT(pid, 0);
    for (int waited = 0; waited < 120000; waited += 20) {
        if (Deck(kRecorderId).mode == ModeRecord &&
            Deck(kPlayerId).position > Frames("00:01:40:00") + 30)
            break;
        QThread::msleep(20);
    }
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGINT), 0);
    ASSERT_TRUE(shell.waitForFinished(30000));
    const QString stopped = QString::fromUtf8(shell.readAll());
    EXPECT_EQ(shell.exitCode(), 1) << stopped.toStdString();
    EXPECT_TRUE(stopped.contains("resume point: row 2 complete")) << stopped.toStdString();

    QString out;
    EXPECT_EQ(Cli({"autorec", home.filePath("changed.cwf"), "--port",
                   QString::fromStdString(sim->SlavePath()), "--player", "1", "--recorder", "2",
                   "--resume"},
                  {}, &out),
              1);
    EXPECT_TRUE(out.contains("has changed since")) << out.toStdString();

    EXPECT_EQ(Cli(AutoRecArgs() << "--resume", {}, &out), 0) << out.toStdString();
    EXPECT_FALSE(out.contains("row 01")) << "resumed after the second scene";
    EXPECT_TRUE(out.contains("row 03"));
    // The tape holds the six scenes one after the other, the partial third overwritten.
    for (const auto& segment : sim->TapeSegments())
        EXPECT_EQ(segment.first.picture, tarnsim::ReceivedFrame::Picture::Play)
            << sim->ReportJson();
    const auto recorded = RecordedScenes(sim->TapeSegments());
    ASSERT_EQ(recorded.size(), 6u) << sim->ReportJson();
    for (size_t i = 1; i < recorded.size(); ++i)
        EXPECT_EQ(recorded[i].recFrom, recorded[i - 1].recTo) << sim->ReportJson();
    SKIP_WHERE_FRAMES_UNCHECKABLE();
    for (size_t i = 0; i < recorded.size(); ++i)
        EXPECT_LE(
            std::abs(recorded[i].srcFrom - (Frames("00:01:20:00") + static_cast<int>(i) * 300)),
            kFrameTolerance);
}

// A closed terminal, a logout or kill while the recorder records: the run stops as at Stop,
// the recorder stands in rec-pause within a second, the resume point is kept, the reason is
// given, and the command exits 1. A logout's SIGTERM and SIGHUP a millisecond apart do the same:
// the second signal does not cut the first one's pause short.
TEST_F(AutoRecCliTest, SigtermAndSighupPauseTheRecorderAtOnceAndKeepTheResumePoint) {
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteSixScenes("list.cwf");
    ReleasePort();
    const std::vector<std::vector<int>> sequences = {{SIGTERM}, {SIGHUP}, {SIGTERM, SIGHUP}};
    for (const std::vector<int>& sequence : sequences) {
        const int signal = sequence.front();
        QFile::remove(home.filePath("cw20.ini"));
        WriteFile("cw20.ini", "[Setup]\r\nFrameMode=1\r\n");
        QProcess cli;
        cli.start(CLIPWRIGHT_CLI_PATH, AutoRecArgs() << "--yes"
                                                     << "--home" << home.path());
        ASSERT_TRUE(cli.waitForStarted());
        for (int waited = 0; waited < 120000; waited += 5) {
            if (Deck(kRecorderId).mode == ModeRecord &&
                Deck(kPlayerId).position > Frames("00:01:30:00") + 30)
                break;
            QThread::msleep(5);
        }
        ASSERT_EQ(Deck(kRecorderId).mode, ModeRecord) << signal;
        for (size_t i = 0; i < sequence.size(); ++i) {
            if (i > 0)
                QThread::msleep(1);
            ASSERT_EQ(::kill(static_cast<pid_t>(cli.processId()), sequence[i]), 0);
        }
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        while (Deck(kRecorderId).mode == ModeRecord && sinceSignal.elapsed() < 5000)
            QThread::msleep(5);
        EXPECT_LT(sinceSignal.elapsed(), 1000) << signal;
        ASSERT_TRUE(cli.waitForFinished(30000));
        const QString out =
            QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(cli.exitCode(), 1) << out.toStdString();
        EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecordPause);
        EXPECT_TRUE(out.contains("resume point: row 1 complete")) << out.toStdString();
        EXPECT_TRUE(
            out.contains("Automatic editing has stopped.\nReason: the system asked the "
                         "program to end (a signal)."))
            << out.toStdString();
        // Every run writes its start point at once: the file must hold the first scene's end.
        const ResumePoint kept = LoadResumePoint(SettingsFile(home.path()));
        EXPECT_EQ(kept.fingerprint, SixScenesFingerprint()) << signal;
        EXPECT_EQ(kept.lastRow, 1) << signal;
        EXPECT_GT(kept.recorderAt, kept.recordingStart) << signal;
    }
}

// The program frozen for three seconds (SIGSTOP) or suspended by Ctrl+Z (SIGTSTP) while the
// recorder records: within three seconds the recorder is out of record (paused by the tape
// guard, or by the program before it suspends itself), and once continued the command says why
// its run ended. Before the freeze the guard is killed: the program has started another.
TEST_F(AutoRecCliTest, AFrozenOrSuspendedRunLeavesTheRecorderOutOfRecord) {
    struct Case {
        int signal;
        const char* reason;
    };
    const Case cases[] = {
        {SIGSTOP, "the tape guard paused the decks"},
        {SIGTSTP, "Reason: stopped by the user."},
    };
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteSixScenes("list.cwf");
    ReleasePort();
    for (const Case& c : cases) {
        QProcess cli;
        cli.setProcessChannelMode(QProcess::MergedChannels);
        cli.start(CLIPWRIGHT_CLI_PATH, AutoRecArgs() << "--yes"
                                                     << "--home" << home.path());
        ASSERT_TRUE(cli.waitForStarted());
        const auto pid = static_cast<pid_t>(cli.processId());
        for (int waited = 0; waited < 120000; waited += 5) {
            if (Deck(kRecorderId).mode == ModeRecord &&
                Deck(kPlayerId).position > Frames("00:01:30:00") + 30)
                break;
            QThread::msleep(5);
        }
        ASSERT_EQ(Deck(kRecorderId).mode, ModeRecord) << c.signal;
        if (c.signal == SIGSTOP) {
            // A guard that dies is replaced at once: the frozen program is still guarded.
            const std::vector<pid_t> guards = ChildrenOf(pid);
            ASSERT_EQ(guards.size(), 1u);
            ASSERT_EQ(::kill(guards.front(), SIGKILL), 0);
            const auto replaced = [&] {
                const std::vector<pid_t> now = ChildrenOf(pid);
                return now.size() == 1 && now != guards;
            };
            QElapsedTimer sinceKill;
            sinceKill.start();
            while (!replaced() && sinceKill.elapsed() < 1000)
                QThread::msleep(5);
            ASSERT_TRUE(replaced());
            ASSERT_EQ(Deck(kRecorderId).mode, ModeRecord);
        }
        ASSERT_EQ(::kill(pid, c.signal), 0);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        while (Deck(kRecorderId).mode == ModeRecord && sinceSignal.elapsed() < 5000)
            QThread::msleep(5);
        EXPECT_LT(sinceSignal.elapsed(), 3000) << c.signal;
        while (!ProcessStopped(pid) && sinceSignal.elapsed() < 5000)
            QThread::msleep(5);
        EXPECT_TRUE(ProcessStopped(pid)) << c.signal;
        EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecordPause) << c.signal;
        QThread::msleep(
            static_cast<unsigned long>(std::max<qint64>(0, 3000 - sinceSignal.elapsed())));
        ASSERT_EQ(::kill(pid, SIGCONT), 0);
        ASSERT_TRUE(cli.waitForFinished(30000));
        const QString out = QString::fromUtf8(cli.readAll());
        EXPECT_EQ(cli.exitCode(), 1) << out.toStdString();
        EXPECT_TRUE(out.contains(c.reason)) << out.toStdString();
        EXPECT_TRUE(out.contains("resume point: row 1 complete")) << out.toStdString();
        // Only the guard leaves a note, and only when it acted.
        EXPECT_EQ(GuardNote::Take(home.path()).has_value(), c.signal == SIGSTOP) << c.signal;
    }
}

// Decks that start in standby and take seconds to wake, report a mode change before it has
// settled, and run each transition for a second: the scan switches them on, and the demo list is
// recorded whole, at the line's real pace.
TEST_F(AutoRecCliTest, SlowDecksWokenByTheScanRecordTheWholeDemoList) {
    QFile bench(STANDBY_BENCH_PATH);
    ASSERT_TRUE(bench.open(QIODevice::ReadOnly));
    Serve(bench.readAll().toStdString(), true);
    ReleasePort();
    const QString port = QString::fromStdString(sim->SlavePath());

    QString out;
    ASSERT_EQ(CliWithoutHome({"scan", "--port", port}, {}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("01 7 Camera 08 18 00 00 00 DemoCam DC-5")) << out.toStdString();
    EXPECT_TRUE(out.contains("02 1 VCR 08 00 00 00 00 DemoVCR")) << out.toStdString();
    EXPECT_TRUE(Deck(kPlayerId).powerOn && Deck(kRecorderId).powerOn);

    EXPECT_EQ(Cli({"autorec", DEMO_LIST_PATH, "--port", port, "--player", "1", "--recorder", "2",
                   "--yes"},
                  {}, &out),
              0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("Automatic editing has finished.")) << out.toStdString();
    // tapereport gives its figures only when every scene of the list is on the tape.
    ASSERT_TRUE(sim->WriteReport(home.filePath("report.json").toStdString(), nullptr));
    EXPECT_EQ(Cli({"tapereport", home.filePath("report.json"), DEMO_LIST_PATH}, {}, &out), 0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("autorec_max_error_frames=")) << out.toStdString();
    // The out transition runs on the tape, timed to end where the recorder stands.
    EXPECT_TRUE(out.contains(QRegularExpression("\\b1\\d\\d out\\b"))) << out.toStdString();
}

// The tape-change question takes the box's two answers; anything else is asked again.
TEST_F(AutoRecCliTest, StopOrTheEndOfInputAtTheTapeChangeStopsTheRunKeepingItsResumePoint) {
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteList();
    ReleasePort();

    for (const QByteArray& answers : {QByteArray("later\nstop\n"), QByteArray()}) {
        SCOPED_TRACE(answers.constData());
        QString out;
        EXPECT_EQ(Cli(AutoRecArgs(), answers, &out), 1) << out.toStdString();

        EXPECT_EQ(out.count("Enter goes on; stop stops"), answers.isEmpty() ? 0 : 1);
        EXPECT_TRUE(out.contains("Automatic editing has stopped.")) << out.toStdString();
        EXPECT_FALSE(out.contains("row 03"));
        EXPECT_TRUE(out.contains("resume point: row 1 complete")) << out.toStdString();
        EXPECT_EQ(Deck(kRecorderId).pendingMode, ModeRecordPause);
    }
}

TEST_F(AutoRecCliTest, RefusesARowThatCannotBeCued) {
    Serve(EngineBench(Frames("00:01:00:00")));
    WriteList();
    ReleasePort();

    QString out;
    EXPECT_EQ(Cli({"goto", home.filePath("list.cwf"), "--row", "2", "--port",
                   QString::fromStdString(sim->SlavePath()), "--player", "1"},
                  {}, &out),
              2);
    EXPECT_TRUE(out.contains("row 2 is not a scene that can be cued")) << out.toStdString();
}

// The recording began on the tape's first frame. A kill (nothing can catch it) half a second
// into scene 4 leaves the point written after scene 3, not the older one of the same list kept
// before the run; a damaged point is refused without harm, and the sound one resumes.
TEST_F(AutoRecCliTest, AKillAfterSceneThreeLeavesAPointThatResumes) {
    Serve(EngineBench(Frames("00:01:00:00"), 0));
    WriteSixScenes("list.cwf");
    const QString fingerprint = SixScenesFingerprint();
    WriteFile("cw20.ini", "[Setup]\r\nFrameMode=1\r\n[Resume]\r\nList=" + fingerprint.toLatin1() +
                              "\r\nRow=5\r\nRecorderAt=9000\r\nRecordingStart=0\r\n");
    ReleasePort();
    QProcess cli;
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(CLIPWRIGHT_CLI_PATH, AutoRecArgs() << "--home" << home.path());
    ASSERT_TRUE(cli.waitForStarted());
    const int in4 = Frames("00:01:20:00") + 3 * 300;
    const auto inSceneFour = [&] {
        return Deck(kRecorderId).mode == ModeRecord && Deck(kPlayerId).position > in4 + 15;
    };
    for (int waited = 0; waited < 120000 && !inSceneFour(); waited += 10)
        cli.waitForFinished(10);
    ASSERT_TRUE(inSceneFour()) << cli.readAll().toStdString();
    ASSERT_EQ(::kill(static_cast<pid_t>(cli.processId()), SIGKILL), 0);
    QElapsedTimer sinceKill;
    sinceKill.start();
    ASSERT_TRUE(cli.waitForFinished(10000));
    // The run's tape guard pauses the recorder where it stands, and once it has let the port go
    // leaves a note that says where.
    while (Deck(kRecorderId).mode == ModeRecord && sinceKill.elapsed() < 5000)
        QThread::msleep(5);
    EXPECT_LT(sinceKill.elapsed(), 3000);
    while (!QFile::exists(home.filePath(GuardNote::kFileName)) && sinceKill.elapsed() < 15000)
        QThread::msleep(5);
    const std::optional<GuardNote> note = GuardNote::Take(home.path());
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(note->operation, "autorec");
    EXPECT_TRUE(note->confirmed);
    EXPECT_EQ(Deck(kRecorderId).mode, ModeRecordPause);
    EXPECT_EQ(note->recorderAt, FramesToText(Deck(kRecorderId).position, Fps30));
    const SettingsFile settings(home.path());
    const ResumePoint kept = LoadResumePoint(settings);
    EXPECT_EQ(kept.fingerprint, fingerprint);
    ASSERT_EQ(kept.lastRow, 3);
    const auto before = RecordedScenes(sim->TapeSegments());
    ASSERT_EQ(before.size(), 4u) << sim->ReportJson();
    EXPECT_EQ(before[0].recFrom, 0);
    EXPECT_EQ(kept.recorderAt, before[3].recFrom);

    settings.WriteString(settings_keys::kResumeRow, QStringLiteral("2147483647"));
    QString out;
    EXPECT_EQ(Cli(AutoRecArgs() << "--resume", {}, &out), 1) << out.toStdString();
    EXPECT_TRUE(out.contains("damaged ([Resume] Row=2147483647)")) << out.toStdString();
    settings.WriteString(settings_keys::kResumeRow, QStringLiteral("3"));
    EXPECT_EQ(Cli(AutoRecArgs() << "--resume", {}, &out), 0) << out.toStdString();

    // The six scenes one after the other, the first three as they were. Beyond the sixth lies
    // what the killed run recorded before its guard paused the recorder, if the resumed scenes
    // did not cover it all.
    const auto recorded = RecordedScenes(sim->TapeSegments());
    ASSERT_GE(recorded.size(), 6u) << sim->ReportJson();
    for (int i = 0; i < 6; ++i) {
        if (i > 0) {
            EXPECT_EQ(recorded[i].recFrom, recorded[i - 1].recTo) << i << sim->ReportJson();
        }
        if (i < 3) {
            EXPECT_EQ(recorded[i].recTo, before[i].recTo) << i << sim->ReportJson();
        }
    }
    SKIP_WHERE_FRAMES_UNCHECKABLE();
    for (int i = 0; i < 6; ++i)
        EXPECT_LE(std::abs(recorded[i].srcFrom - (Frames("00:01:20:00") + i * 300)),
                  kFrameTolerance)
            << i << sim->ReportJson();
}

}  // namespace
