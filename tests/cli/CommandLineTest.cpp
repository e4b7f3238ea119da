// The command lines of clipwright-cli and tarn-sim as users type them: "--name value" and
// "--name=value" alike, --help for every command, errors that name the option and the exit
// codes (0 done, 1 failed, 2 a usage error); and the bash completion, which reads each command's
// --help and must offer its options exactly as the parser takes them.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/CommandTable.h"
#include "common/ProgramRun.h"
#include "sim/CommandLine.h"
#include "sim/Simulator.h"

namespace {

TEST(CliCommandLine, ParsesAsUsersTypeAndRefusesWithTheOptionNamed) {
    std::string error;
    auto bench = tarnsim::Bench::FromFile(DEMO_BENCH_PATH, &error);
    ASSERT_TRUE(bench) << error;
    tarnsim::Simulator sim(*bench, {false, 1, nullptr});
    ASSERT_TRUE(sim.Start(&error)) << error;
    const QString pty = QString::fromStdString(sim.SlavePath());
    QTemporaryDir home;
    QFile list(home.filePath("list.cwf"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(
        "TCMode\t001\r\nScenes\t002\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
        "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape A\r\n"
        "001\t 00:01:00:00\t 00:01:10:00\t000\t000\t0\t\r\n");
    list.close();

    struct Case {
        QStringList args;
        int exitCode;
        QString outStart;  // standard output begins so
        QString error;     // a line of standard error (the first one for a usage error)
    };
    const Case cases[] = {
        {{"status", "--port=" + pty, "--id=1"}, 0, "mode=", ""},
        {{"status", "--id", "1", "--port", pty}, 0, "mode=", ""},
        {{"timecode", "--mode=1", "300"}, 0, "00:00:10:00\n", ""},
        {{"project", "show", "list.cwf", "--home=" + home.path()}, 0, "00\t", ""},
        {{"help"}, 0, "usage: clipwright-cli COMMAND", ""},
        {{"help", "autorec"}, 0, "usage: clipwright-cli autorec FILE --port PATH", ""},
        {{"autorec", "list.cwf", "-h"}, 0, "usage: clipwright-cli autorec FILE --port PATH", ""},
        {{"status", "--port=" + pty, "--id", "1", "--x"},
         2,
         "",
         "clipwright-cli: status: unknown option --x"},
        {{"scan", "-x"}, 2, "", "clipwright-cli: scan: unknown option -x"},
        {{"status", "--id", "1", "--port"},
         2,
         "",
         "clipwright-cli: status: missing value for --port"},
        {{"autorec", "list.cwf", "--yes=1"},
         2,
         "",
         "clipwright-cli: autorec: --yes takes no value"},
        {{"goto", "list.cwf", "--row", "1", "--port", pty, "--player", "1", "--verify", "v.json"},
         2,
         "",
         "clipwright-cli: goto: unknown option --verify"},
        {{"status", "--id=1"}, 2, "", "clipwright-cli: status: --port PATH is required"},
        {{"caps", "--port", pty, "--id", "100"},
         2,
         "",
         "clipwright-cli: caps: --id must be a number from 1 to 99"},
        {{"status", "--port", pty, "--id", "1", "--language=10"},
         2,
         "",
         "clipwright-cli: status: --language must be 9 (English), 12 (French) or 17 (Japanese), "
         "not \"10\""},
        {{"project", "show", "list.cwf", "--title", "T"},
         2,
         "",
         "clipwright-cli: project: --title and --record-start belong to export-edl"},
        {{"project", "export-edl", "list.cwf"},
         2,
         "",
         "clipwright-cli: project export-edl: an edit list and the EDL to write are needed"},
        {{"help", "nothing"}, 2, "", "clipwright-cli: help: no command nothing"},
        {{"nothing"}, 2, "", "clipwright-cli: unknown command nothing"},
        {{"project", "show", "missing.cwf"},
         1,
         "",
         "clipwright-cli: project: missing.cwf was not loaded"},
        {{"status", "--port=/nonexistent/tty", "--id", "1"},
         1,
         "",
         "clipwright-cli: status: cannot open /nonexistent/tty: No such file or directory"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = RunProgram(CLIPWRIGHT_CLI_PATH, c.args, home.path());
        const std::string line = c.args.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << line << "\n"
                                            << run.errLines.join(u'\n').toStdString();
        if (c.outStart.isEmpty())
            EXPECT_EQ(run.out, QString()) << line;
        else
            EXPECT_TRUE(run.out.startsWith(c.outStart)) << line << "\n" << run.out.toStdString();
        EXPECT_TRUE(c.error.isEmpty() ? run.errLines == QStringList{""}
                                      : run.errLines.contains(c.error))
            << line << "\n"
            << run.errLines.join(u'\n').toStdString();
        // A usage error shows how the command is used.
        if (c.exitCode == 2 && c.args.front() != "help" && c.args.front() != "nothing") {
            ASSERT_GE(run.errLines.size(), 2) << line;
            EXPECT_TRUE(run.errLines[1].startsWith("usage: clipwright-cli " + c.args.front()))
                << line;
        }
    }

    // A deck that refuses the status query gives no reading: status says so and fails, where it
    // would otherwise print the refusal's zero bytes as the deck's mode and counter.
    sim.SetFaultPlan(*tarnsim::FaultPlan::Parse("refuse=1", 1, &error));
    const ProgramRun refused =
        RunProgram(CLIPWRIGHT_CLI_PATH, {"status", "--port", pty, "--id", "2"}, home.path());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, QString());
    EXPECT_TRUE(refused.errLines.contains(
        "clipwright-cli: status: device 2 refused the status query (status 01)"))
        << refused.err().toStdString();
}

TEST(TarnSimCommandLine, ParsesBothFormsAndNamesTheOptionItRefuses) {
    using tarnsim::CommandLine;
    std::string error;
    const auto line = CommandLine::Parse(
        {"--bench=b.json", "--seed=7", "--no-pacing", "--answer-delay", "5", "--report", "r"},
        &error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->benchPath, "b.json");
    EXPECT_EQ(line->seed, 7u);
    EXPECT_FALSE(line->pacing);
    EXPECT_EQ(line->answerDelayMs, 5);
    EXPECT_EQ(line->reportPath, "r");
    ASSERT_TRUE(CommandLine::Parse({"--bench", "b", "-h"}, &error));
    EXPECT_TRUE(CommandLine::Parse({"--bench", "b", "-h"}, &error)->help);

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--bench"}, "missing value for --bench"},
        {{"--bench", "b", "--x"}, "unknown option --x"},
        {{"--bench", "b", "-x"}, "unknown option -x"},
        {{"--bench", "b", "--no-pacing=1"}, "--no-pacing takes no value"},
        {{"--bench", "b", "extra"}, "unexpected argument extra"},
        {{"--seed", "x", "--bench", "b"}, "--seed: not a number in range: x"},
        {{"--bench", "b", "--answer-delay=10001"}, "--answer-delay: not a number in range: 10001"},
        {{"--no-pacing"}, "--bench FILE is required"},
    };
    for (const auto& [args, message] : refused) {
        error.clear();
        EXPECT_FALSE(CommandLine::Parse(args, &error)) << message;
        EXPECT_EQ(error, message);
    }
}

// What the completion offers for each command line, the words in COMP_WORDS form (an "=" is a
// word of its own, as bash splits it), one sorted line per line asked.
QStringList Completions(const QList<QStringList>& lines) {
    QString script = QStringLiteral("export LC_ALL=C\nsource '%1'\n").arg(COMPLETION_PATH);
    for (const QStringList& words : lines) {
        QStringList quoted;
        for (const QString& word : words)
            quoted << "'" + word + "'";
        const QString function = words.front() == "tarn-sim" ? "_tarn_sim" : "_clipwright_cli";
        quoted.front() =
            words.front() == "tarn-sim" ? "'" TARN_SIM_PATH "'" : "'" CLIPWRIGHT_CLI_PATH "'";
        script += QStringLiteral(
                      "COMP_WORDS=(%1); COMP_CWORD=%2; COMPREPLY=(); %3\n"
                      "printf '%s\\n' \"${COMPREPLY[@]}\" | sort | tr '\\n' ' '; echo\n")
                      .arg(quoted.join(u' '))
                      .arg(words.size() - 1)
                      .arg(function);
    }
    QProcess bash;
    bash.start("bash", {"--norc", "--noprofile", "-c", script});
    bash.waitForFinished(60000);
    return QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n');
}

QString Sorted(QStringList words) {
    words.sort();
    return words.join(u' ') + u' ';
}

TEST(BashCompletion, OffersTheCommandsOptionsAndValuesTheParsersTake) {
    QTemporaryDir dir;
    QFile(dir.filePath("tty-sim")).open(QIODevice::WriteOnly);
    QList<QStringList> lines = {
        {"clipwright-cli", "au"},
        {"clipwright-cli", "help", "ta"},
        {"clipwright-cli", "project", ""},
        {"clipwright-cli", "autorec", "--search", ""},
        {"clipwright-cli", "autorec", "--search", "=", "h"},
        {"clipwright-cli", "status", "--language", "1"},
        {"clipwright-cli", "status", "--port", dir.filePath("tt")},
        {"clipwright-cli", "status", "--port", "=", dir.filePath("tt")},
        {"clipwright-cli", "status", "--id", ""},
        {"tarn-sim", "--no"},
        {"tarn-sim", "--link", dir.filePath("t")},
    };
    const QStringList expected = {
        "autorec ",
        "tapereport ",
        "convert export-edl import-edl show ",
        "high normal ",
        "high ",
        "12 17 ",
        dir.filePath("tty-sim") + " ",
        dir.filePath("tty-sim") + " ",
        " ",
        "--no-pacing ",
        dir.filePath("tty-sim") + " ",
    };
    // Every command's options, and tarn-sim's, as their parsers know them.
    QStringList shared = {"--help"};
    for (const CliOption& option : SharedCliOptions())
        shared << "--" + QLatin1String(option.name);
    QStringList allExpected = expected;
    for (const CliCommand& command : CliCommands()) {
        lines.append(QStringList{"clipwright-cli", command.name, "--"});
        QStringList options = shared;
        for (const CliOption& option : command.options)
            options << "--" + QLatin1String(option.name);
        allExpected << Sorted(options);
    }
    lines.append(QStringList{"tarn-sim", "--"});
    QStringList simOptions = {"--help"};
    for (const auto& option : tarnsim::CommandLine::Options())
        simOptions << "--" + QLatin1String(option.name);
    allExpected << Sorted(simOptions);

    const QStringList offered = Completions(lines);
    ASSERT_GE(offered.size(), allExpected.size());
    for (qsizetype i = 0; i < allExpected.size(); ++i)
        EXPECT_EQ(offered[i], allExpected[i]) << lines[i].join(u' ').toStdString();
}

}  // namespace
