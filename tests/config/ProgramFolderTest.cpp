#include "config/ProgramFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(ProgramFolderTest, HomeOptionBeatsEnvironmentWhichBeatsTheExecutableFolderAndIsCreated) {
    EXPECT_EQ(ProgramFolder::ChooseHome("/opt/a", "/opt/b", "/usr/bin"), "/opt/a");
    EXPECT_EQ(ProgramFolder::ChooseHome("", "/opt/b/", "/usr/bin"), "/opt/b");
    EXPECT_EQ(ProgramFolder::ChooseHome("", "", "/usr/bin"), "/usr/bin");
    EXPECT_EQ(ProgramFolder::ChooseHome("rel", "", "/usr/bin"),
              QDir::cleanPath(QDir::current().filePath("rel")));
    // The running program takes a named folder and creates it.
    QTemporaryDir parent;
    const QString named = parent.filePath("new/home");
    EXPECT_EQ(ProgramFolder::ForRunningProgram(named).Path(), named);
    EXPECT_TRUE(QDir(named).exists());
}

TEST(ProgramFolderTest, AnInstalledProgramKeepsItsFolderInTheUsersConfigurationNotBesideItself) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    const QString bin = prefix.filePath("bin");
    // A build: nothing installed beside the executable's folder.
    EXPECT_EQ(ProgramFolder::DefaultHome(bin, "/home/u/.config"), bin);
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/clipwright"));
    EXPECT_EQ(ProgramFolder::DefaultHome(bin, "/home/u/.config"), "/home/u/.config/clipwright");
}

TEST(ProgramFolderTest, SuppliedFilesComeFromTheProgramFolderFirstThenTheInstalledCopies) {
    QTemporaryDir home, build, installed;
    const ProgramFolder folder(home.path(), {build.path(), installed.path()});
    Touch(installed.filePath("cw20.sty"));
    Touch(build.filePath("cw20.cpt"));
    Touch(installed.filePath("cw20.cpt"));
    Touch(home.filePath("cw20dev.ini"));
    Touch(build.filePath("cw20dev.ini"));

    EXPECT_EQ(folder.SuppliedFile("cw20.sty"), installed.filePath("cw20.sty"));
    EXPECT_EQ(folder.SuppliedFile("cw20.cpt"), build.filePath("cw20.cpt"));
    EXPECT_EQ(folder.SuppliedFile("cw20dev.ini"), home.filePath("cw20dev.ini"));
    EXPECT_EQ(folder.SuppliedFile("cw20e.html"), home.filePath("cw20e.html"));
    EXPECT_EQ(folder.FilePath("cw20.ini"), home.filePath("cw20.ini"));
}

}  // namespace
