// The command-line manners of the three installed programs, run as real processes without a
// display: --help and -h print the usage on standard output, --version the program's name,
// version and licence, and an unknown option gives one line of error and the usage on standard
// error, exit 2.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "common/ProgramRun.h"

namespace {

class CommandLineManners : public ::testing::TestWithParam<const char*> {
protected:
    QString Name() const { return QString::fromLatin1(GetParam()).section(u'/', -1); }
};

TEST_P(CommandLineManners, HelpGoesToStandardOutputAndEndsWell) {
    for (const char* option : {"--help", "-h"}) {
        const ProgramRun run = RunProgram(GetParam(), {option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_TRUE(run.out.startsWith("usage: " + Name() + " ")) << run.out.toStdString();
        EXPECT_EQ(run.errLines, QStringList({""})) << option;
    }
}

TEST_P(CommandLineManners, VersionNamesTheProgramItsVersionAndRevisionThenTheLicence) {
    const ProgramRun run = RunProgram(GetParam(), {"--version"});
    EXPECT_EQ(run.exitCode, 0);
    // The revision is there when the build came from a checkout.
    const QRegularExpression text(
        "^" + QRegularExpression::escape(Name() + " " + PROJECT_VERSION) +
        "(\\+git[0-9]+\\.[0-9a-f]+)?\n"
        "Copyright \\(C\\) [0-9]{4} the Clipwright developers\n"
        "Licence GPL-3\\.0-or-later: GNU GPL version 3 or later <[^>]+>\n"
        "This is free software: you are free to change and redistribute it\\.\n"
        "There is NO WARRANTY, to the extent permitted by law\\.\n$");
    EXPECT_TRUE(text.match(run.out).hasMatch()) << run.out.toStdString();
}

TEST_P(CommandLineManners, AnUnknownOptionIsOneLineOfErrorThenTheUsageAndExit2) {
    const ProgramRun run = RunProgram(GetParam(), {"--frobnicate"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    ASSERT_GE(run.errLines.size(), 2);
    EXPECT_EQ(run.errLines[0], Name() + ": unknown option --frobnicate");
    EXPECT_TRUE(run.errLines[1].startsWith("usage: " + Name() + " "))
        << run.errLines[1].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLineManners,
                         ::testing::Values(CLIPWRIGHT_PATH, CLIPWRIGHT_CLI_PATH, TARN_SIM_PATH));

}  // namespace
