// clipwright-cli project show / convert, run as the user runs them, in a program folder of the
// test's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/ProgramRun.h"

namespace {

class ProjectCommandTest : public ::testing::Test {
protected:
    ProgramRun Cli(const QStringList& args, const QHash<QString, QString>& environment = {}) const {
        return RunProgram(CLIPWRIGHT_CLI_PATH, QStringList{"project", "--home", dir.path()} + args,
                          dir.path(), environment);
    }

    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& name) const {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};

const QByteArray kProject =
    "TCMode\t001\r\nScenes\t003\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
    "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape A\r\n"
    "001\t 00:01:00:00\t 00:01:10:00\t003\t105\t0\tfirst\r\n"
    "002\t 00:02:00:00\t 00:02:01:00\t000\t117\t0\t\xE6\x97\xA5\r\n";

TEST_F(ProjectCommandTest, ShowPrintsEveryRowAndTheTotalInTheSettingsMode) {
    Write("list.cwf", kProject);
    const ProgramRun run = Cli({"show", "list.cwf"});
    EXPECT_EQ(run.exitCode, 0) << run.err().toStdString();
    EXPECT_EQ(run.out,
              "00\t00:00:00:00\t00:00:00:00\t00:00:00:00\t0\t0\t1\tTape A\n"
              "01\t00:01:00:00\t00:01:10:00\t00:00:10:00\t3\t105\t0\tfirst\n"
              "02\t00:02:00:00\t00:02:01:00\t00:00:01:00\t0\t117\t0\t\xE6\x97\xA5\n"
              "Total\t00:00:11:00\n");

    // The program folder's FrameMode decides the mode; the file's own TCMode line does not.
    Write("cw20.ini", "[Setup]\r\nFrameMode=2\r\n");
    const ProgramRun drop = Cli({"show", "list.cwf"});
    EXPECT_EQ(drop.exitCode, 0);
    EXPECT_TRUE(drop.out.contains("01\t00:01:00.00\t00:01:10.00\t00:00:10.00\t"));
    EXPECT_TRUE(drop.out.endsWith("Total\t00:00:11.00\n"));
}

TEST_F(ProjectCommandTest, RefusedFilesExitWithOneAndAMessage) {
    Write("empty.cwf", "TCMode\t000\r\nScenes\t000\r\n");
    Write("x.Cwf", kProject);
    for (const char* name : {"empty.cwf", "x.Cwf", "missing.cwf"}) {
        const ProgramRun run = Cli({"show", name});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.out.isEmpty()) << name;
        EXPECT_FALSE(run.err().isEmpty()) << name;
    }
}

TEST_F(ProjectCommandTest, ConvertSavesALegacyListAsAProjectFile) {
    Write("old.trn", "Title\r\n00:01:00:00  00:01:10:00 \r\n");
    Write("old.fxd", "xxx003xx005x\r\nxxx001xx011x\r\n");
    const ProgramRun run = Cli({"convert", "old.trn", "new.txt"});
    EXPECT_EQ(run.exitCode, 0) << run.err().toStdString();
    EXPECT_EQ(Read("new.cwf"),
              "TCMode\t000\r\nScenes\t002\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
              "000\t 00:00:00:00\t 00:00:00:00\t005\t105\t1\tTitle\r\n"
              "001\t 00:01:00:00\t 00:01:10:00\t001\t117\t0\t\r\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("new.txt")));

    Write("blocker", "a file where a folder should be");
    EXPECT_EQ(Cli({"convert", "old.trn", "blocker/new.cwf"}).exitCode, 1);
    EXPECT_EQ(Cli({"convert", "nothing.trn", "other.cwf"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("other.cwf")));
}

TEST_F(ProjectCommandTest, EdlExportThenImportGivesTheSameRows) {
    Write("list.cwf", kProject);
    const ProgramRun exported = Cli(
        {"export-edl", "list.cwf", "cut.edl", "--title", "Trip", "--record-start", "10:00:00:00"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err().toStdString();
    const QByteArray edl = Read("cut.edl");
    EXPECT_TRUE(edl.startsWith("TITLE: Trip\r\nFCM: NON-DROP FRAME\r\n")) << edl.data();
    EXPECT_TRUE(
        edl.contains("002  TAPE_A   V     C        00:02:00:00 00:02:01:00 10:00:10:00 "
                     "10:00:11:00\r\n"))
        << edl.data();

    const ProgramRun imported = Cli({"import-edl", "cut.edl", "back.cwf"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err().toStdString();
    EXPECT_TRUE(imported.out.startsWith("The EDL was imported.\nScenes: 2\nTapes: 1\n"))
        << imported.out.toStdString();
    EXPECT_EQ(Cli({"show", "back.cwf"}).out, Cli({"show", "list.cwf"}).out);
}

TEST_F(ProjectCommandTest, ARefusedEdlExitsWithOneTheLineOnStandardErrorAndNoFile) {
    Write("bad.edl",
          "TITLE: x\r\n"
          "001  CAM1 V C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n"
          "002  CAM1 V C 00:01:00:00 00:01:05:40 01:00:05:00 01:00:10:00\r\n");
    const ProgramRun run = Cli({"import-edl", "bad.edl", "out.cwf"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(
        run.err().contains("Line 3: a timecode has more frames than the program's frame "
                           "rate."))
        << run.err().toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out.cwf")));
    // A French desktop gets the French texts without being asked.
    const ProgramRun french = Cli({"import-edl", "bad.edl", "out.cwf"},
                                  {{"LC_ALL", ""}, {"LC_NUMERIC", ""}, {"LANG", "fr_FR.UTF-8"}});
    EXPECT_TRUE(french.err().contains(
        "Ligne 3 : un timecode compte plus d'images que la cadence du programme."))
        << french.err().toStdString();
    EXPECT_EQ(Cli({"import-edl", "missing.edl", "out.cwf"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.cwf")));

    Write("list.cwf", kProject);
    EXPECT_EQ(Cli({"export-edl", "list.cwf", "a.edl", "--record-start", "1:00:00:00"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.edl")));
}

}  // namespace
