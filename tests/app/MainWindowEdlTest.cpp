// File > Import EDL... and File > Export EDL... through the main window with a scripted user:
// the save question, the list replaced or left alone, the report and the refusals shown.
#include <QAction>

#include "MainWindowFixture.h"
#include "edit/SceneListFixtures.h"

namespace {

const QByteArray kOneSceneEdl =
    "TITLE: one\r\nFCM: NON-DROP FRAME\r\n\r\n"
    "001  CAM1     V     C        00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n"
    "* FROM CLIP NAME: shore\r\n"
    "002  CAM1     A     C        00:01:00:00 00:01:05:00 01:00:05:00 01:00:10:00\r\n"
    "* a note\r\n\r\n";

}  // namespace

TEST_F(MainWindowTest, ImportEdlAsksToSaveThenReplacesTheListAndReports) {
    Start();
    FillScenes(scenes(), 2);
    prompts.answers = {false};
    prompts.files = {WriteFile("one.edl", kOneSceneEdl)};
    window->menus().mnuImportEdl->trigger();
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.lastFilter, "Edit decision list (CMX 3600) (*.edl *.EDL)");
    EXPECT_EQ(Memos(scenes()), QStringList({"CAM1", "shore"}));
    EXPECT_EQ(scenes().row(1).inText, "00:01:00:00");
    EXPECT_EQ(scenes().row(1).durationFrames, 125);
    // Not saved anywhere yet: closing must ask, and Save has no file to write over.
    EXPECT_TRUE(scenes().modified());
    EXPECT_TRUE(window->document().currentFileName().isEmpty());
    EXPECT_FALSE(window->menus().mnusave->isEnabled());
    // Blank lines are not worth a word; every count that is, on a line of its own.
    EXPECT_EQ(prompts.informations,
              QStringList{"The EDL was imported.\nScenes: 1\nTapes: 1\n"
                          "Audio-only events skipped: 1\nComment lines ignored: 1"});
    EXPECT_TRUE(prompts.warnings.isEmpty());
}

TEST_F(MainWindowTest, ARefusedEdlNamesTheLineAndLeavesTheListAsItWas) {
    Start();
    window->OpenAsDropped(WriteFile("two.cwf", kTwoRowList));
    const QStringList before = Memos(scenes());
    prompts.files = {
        WriteFile("bad.edl",
                  "TITLE: bad\r\n"
                  "001  CAM1 V C 00:01:05:00 00:01:00:00 01:00:00:00 01:00:05:00\r\n")};
    window->menus().mnuImportEdl->trigger();
    EXPECT_EQ(prompts.warnings,
              QStringList{"Line 2: an out point lies before its in point.\n"
                          "The EDL was not imported; the edit list is unchanged."});
    EXPECT_EQ(Memos(scenes()), before);
    EXPECT_EQ(scenes().row(1).effect, 2);
    EXPECT_FALSE(scenes().modified());
    EXPECT_EQ(window->document().currentFileName(), QDir(home.path()).filePath("two.cwf"));
}

TEST_F(MainWindowTest, TheDemoListExportedImportsBackWithNothingToReportButItsScenesAndTapes) {
    Start(DemoList());
    const QString target = QDir(home.path()).filePath("demo.edl");
    prompts.files = {target, target};
    window->menus().mnuExportEdl->trigger();
    window->menus().mnuImportEdl->trigger();
    // The scene without a duration stays out of the EDL, and says so.
    EXPECT_EQ(prompts.informations,
              (QStringList{"1 scene without a duration was left out of the EDL.",
                           "The EDL was imported.\nScenes: 5\nTapes: 2"}));
}

TEST_F(MainWindowTest, ExportEdlWritesTheListUnderItsNameAndAsksBeforeReplacing) {
    Start();
    window->OpenAsDropped(WriteFile("two.cwf", kTwoRowList));
    const QString target = QDir(home.path()).filePath("out.edl");
    prompts.files = {target};
    window->menus().mnuExportEdl->trigger();
    EXPECT_EQ(prompts.lastProposedName, "two.edl");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    EXPECT_TRUE(written.startsWith("TITLE: two\r\nFCM: NON-DROP FRAME\r\n")) << written.data();
    EXPECT_TRUE(
        written.contains("001  FIRST_TA V     C        00:01:00:00 00:01:10:00 "
                         "01:00:00:00 01:00:10:00\r\n"))
        << written.data();

    // The same name again: the overwrite question, and No leaves the file alone.
    FillScenes(scenes(), 3);
    prompts.files = {target};
    prompts.answers = {false};
    window->menus().mnuExportEdl->trigger();
    EXPECT_EQ(prompts.questions.last(), "This file already exists.\nDo you want to replace it?");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), written);

    // A list without a scene that lasts gives nothing to export, and says so.
    prompts.answers = {false};
    window->menus().mnuNew->trigger();
    prompts.files = {QDir(home.path()).filePath("empty.edl")};
    window->menus().mnuExportEdl->trigger();
    EXPECT_EQ(prompts.warnings,
              QStringList{"No scene of the list has a duration: there is nothing to export."});
    EXPECT_FALSE(QFile::exists(QDir(home.path()).filePath("empty.edl")));
}
