#include "app/ProgramCommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = ProgramCommandLine::Action;

TEST(ProgramCommandLineTest, LeavesTheToolkitItsOptionsAndKeepsTheProjectFile) {
    const ProgramCommandLine line = ParseProgramCommandLine(
        {"-platform", "offscreen", "--style=fusion", "-reverse", "--home", "/h", "trip.cwf"});
    EXPECT_EQ(line.action, Action::Run);
    EXPECT_EQ(line.options.home, "/h");
    EXPECT_EQ(line.options.arguments, QStringList({"trip.cwf"}));

    // After "--" a name that starts with a dash is a file, not an option.
    const ProgramCommandLine dashed = ParseProgramCommandLine({"--", "-odd.cwf", "--help"});
    EXPECT_EQ(dashed.action, Action::Run);
    EXPECT_EQ(dashed.options.arguments, QStringList({"-odd.cwf", "--help"}));
}

TEST(ProgramCommandLineTest, RefusesWhatItDoesNotKnowWithOneLine) {
    for (const QStringList& args : {QStringList{"-x"}, QStringList{"trip.cwf", "--frobnicate"},
                                    QStringList{"--language", "10"}}) {
        const ProgramCommandLine line = ParseProgramCommandLine(args);
        EXPECT_EQ(line.action, Action::Refuse) << args.join(' ').toStdString();
        EXPECT_FALSE(line.error.isEmpty());
        EXPECT_FALSE(line.error.contains(u'\n'));
    }
    EXPECT_EQ(ParseProgramCommandLine({"trip.cwf", "--version"}).action, Action::ShowVersion);
}

}  // namespace
