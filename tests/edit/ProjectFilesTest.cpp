#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "config/TextDecoding.h"
#include "edit/ProjectFileHost.h"
#include "edit/ProjectFiles.h"
#include "edit/ProjectPath.h"
#include "edit/SceneList.h"
#include "tests/edit/SceneListFixtures.h"

namespace {

// Answers questions as told and records every call, in order.
class RecordingHost : public ProjectFileHost {
public:
    bool answer = true;
    QStringList calls;

    void RaiseProgressWindow() override { calls << "raise"; }
    void CloseProgressWindow() override { calls << "close"; }
    bool AskYesNo(const QStringList& keys) override {
        calls << "ask " + keys.join('+');
        return answer;
    }
    void ShowWarning(const QString& key) override { calls << "warn " + key; }
    void ReportWriteFailure(const QString& path, const QString&) override {
        calls << "failed " + QFileInfo(path).fileName();
    }
};

class ProjectFilesTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir.filePath(name); }

    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadFile(const QString& name) const {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A project file with `count` rows written in the format's own layout.
    static QByteArray ProjectText(int count, const QByteArray& rowFields = "000\t000\t0\tm") {
        QByteArray text = "TCMode\t000\r\nScenes\t" + QByteArray::number(count) +
                          "\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n";
        for (int i = 0; i < count; ++i) {
            text += QByteArray::number(i) + "\t 00:01:00:00\t 00:01:05:00\t" + rowFields + "\r\n";
        }
        return text;
    }

    QTemporaryDir dir;
    RecordingHost host;
    SceneList list;
    ProjectFiles files{list, host, kLanguageEnglish};
};

TEST_F(ProjectFilesTest, NewListSavesAsThreeHeaderLinesAndOneTapeChangeRow) {
    list.SetModified(true);
    ASSERT_TRUE(files.SaveProject(PathOf("new.cwf"), false));
    EXPECT_EQ(ReadFile("new.cwf"),
              "TCMode\t000\r\nScenes\t001\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
              "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\t\r\n");
    EXPECT_FALSE(list.modified());
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ProjectFilesTest, SaveAndLoadGiveTheSameListAndTheSameBytes) {
    SceneList source(Fps30Drop);
    FillScenes(source, 4);
    source.SetEffect(1, 5);
    source.SetTransition(1, 117);
    source.SetTransition(2, 100);
    source.ModifyRow(3, "01:02:03.04", "01:02:09.29", QString::fromUtf8("日本語のメモ"), true);
    source.ModifyRow(0, "00:00:00:00", "00:00:00:00", "Tape 1", true);
    ProjectFiles sourceFiles(source, host, kLanguageJapanese);
    ASSERT_TRUE(sourceFiles.SaveProject(PathOf("trip.cwf"), false));
    const QByteArray saved = ReadFile("trip.cwf");
    EXPECT_TRUE(saved.startsWith("TCMode\t002\r\nScenes\t005\r\n"));
    EXPECT_TRUE(
        saved.contains("003\t 01:02:03.04\t 01:02:09.29\t000\t000\t1\t"
                       "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"));
    EXPECT_TRUE(saved.contains("001\t 00:01:00.00\t 00:01:01.00\t005\t117\t0\tr1\r\n"));

    SceneList loaded(Fps30Drop);
    ProjectFiles loader(loaded, host, kLanguageJapanese);
    ASSERT_TRUE(loader.LoadProject(PathOf("trip.cwf"), true));
    EXPECT_EQ(RowTexts(loaded), RowTexts(source));
    EXPECT_EQ(loaded.totalFrames(), source.totalFrames());
    EXPECT_FALSE(loaded.modified());
    EXPECT_EQ(SelectedRows(loaded), QList<int>{0});

    ASSERT_TRUE(loader.SaveProject(PathOf("again.cwf"), false));
    EXPECT_EQ(ReadFile("again.cwf"), saved);
}

TEST_F(ProjectFilesTest, SavingCutsLongMemosByCharactersAndAFullListOfTheLongestLoadsAgain) {
    FillScenes(list, 2);
    list.ModifyRow(1, "00:00:00:00", "00:00:00:00", QString(350, u'x'), false);
    QString wide;
    for (int i = 0; i < 310; ++i)
        wide += QString::fromUtf8("\xF0\x9F\x8E\xA5");  // 4 bytes each
    list.ModifyRow(2, "00:00:00:00", "00:00:00:00", wide, false);
    ASSERT_TRUE(files.SaveProject(PathOf("memo.cwf"), false));
    EXPECT_EQ(list.row(1).memo, QString(300, u'x'));
    EXPECT_EQ(list.row(2).memo, wide.left(600));

    SceneList loaded;
    ProjectFiles loader(loaded, host, kLanguageEnglish);
    ASSERT_TRUE(loader.LoadProject(PathOf("memo.cwf"), true));
    EXPECT_EQ(loaded.row(2).memo, wide.left(600));  // valid UTF-8, nothing split

    // A full list of the longest memos loads again.
    FillScenes(list, 99);
    QString memo;
    for (int i = 0; i < ProjectFiles::kMaxMemoCharacters; ++i)
        memo += QString::fromUtf8("日");
    for (int i = 0; i < list.count(); ++i)
        list.ModifyRow(i, "00:00:00:00", "00:00:01:00", memo, i == 0);
    ASSERT_TRUE(files.SaveProject(PathOf("big.cwf"), false));
    ASSERT_GT(ReadFile("big.cwf").size(), 40000);
    ASSERT_TRUE(loader.LoadProject(PathOf("big.cwf"), true));
    EXPECT_EQ(loaded.count(), 100);
    EXPECT_EQ(loaded.row(99).memo, memo);
}

TEST_F(ProjectFilesTest, SaveGivesTheFileTheProjectExtension) {
    QString written;
    ASSERT_TRUE(files.SaveProject(PathOf("a.txt"), false, &written));
    EXPECT_EQ(written, PathOf("a.cwf"));
    EXPECT_FALSE(QFile::exists(PathOf("a.txt")));
    ASSERT_TRUE(files.SaveProject(PathOf("b.CWF"), false, &written));
    EXPECT_EQ(written, PathOf("b.CWF"));
    ASSERT_TRUE(files.SaveProject(PathOf("sub/deeper/c"), false, &written));
    EXPECT_EQ(written, PathOf("sub/deeper/c.cwf"));
    EXPECT_TRUE(QFile::exists(written));
}

TEST_F(ProjectFilesTest, SaveAsAsksBeforeReplacingAFile) {
    WriteFile("old.cwf", "keep me");
    host.answer = false;
    EXPECT_FALSE(files.SaveProject(PathOf("old.cwf"), true));
    EXPECT_EQ(ReadFile("old.cwf"), "keep me");
    EXPECT_EQ(host.calls, (QStringList{"raise", "ask MSG_SAVEOW1+MSG_SAVEOW2"}));

    host.calls.clear();
    host.answer = true;
    EXPECT_TRUE(files.SaveProject(PathOf("old.cwf"), true));
    EXPECT_TRUE(ReadFile("old.cwf").startsWith("TCMode"));

    host.calls.clear();
    EXPECT_TRUE(files.SaveProject(PathOf("old.cwf"), false));  // Save replaces without asking
    EXPECT_TRUE(host.calls.isEmpty());

    // Save of a list opened from trip.trn writes trip.cwf: an unrelated trip.cwf is asked about.
    WriteFile("trip.cwf", "unrelated");
    host.answer = false;
    QString written;
    EXPECT_FALSE(files.SaveProject(PathOf("trip.trn"), false, &written));
    EXPECT_EQ(ReadFile("trip.cwf"), "unrelated");
    EXPECT_EQ(host.calls, (QStringList{"raise", "ask MSG_SAVEOW1+MSG_SAVEOW2"}));
    host.answer = true;
    EXPECT_TRUE(files.SaveProject(PathOf("trip.trn"), false, &written));
    EXPECT_EQ(written, PathOf("trip.cwf"));
    EXPECT_TRUE(ReadFile("trip.cwf").startsWith("TCMode"));
}

TEST_F(ProjectFilesTest, SaveRefusesWithoutSpaceOrWithoutAFolder) {
    EXPECT_TRUE(
        files.PrepareSavePath(PathOf("space.cwf"), "cwf", qint64{1} << 60, false).isEmpty());
    EXPECT_EQ(host.calls, (QStringList{"close", "warn MSG_NODISK"}));

    host.calls.clear();
    WriteFile("plain", "a file where a folder should be");
    EXPECT_FALSE(files.SaveProject(PathOf("plain/x.cwf"), false));
    EXPECT_EQ(host.calls, (QStringList{"close", "warn MSG_INPUT"}));
}

TEST_F(ProjectFilesTest, LoadAcceptsOnlyTheExactExtensionsOfExistingFiles) {
    WriteFile("x.Cwf", ProjectText(1));
    EXPECT_FALSE(files.LoadProject(PathOf("x.Cwf"), true));
    EXPECT_FALSE(files.LoadProject(PathOf("missing.cwf"), true));
    EXPECT_FALSE(files.LoadProject(PathOf("nofolder/x.cwf"), true));
    EXPECT_EQ(host.calls, (QStringList{"warn MSG_INPUT", "warn MSG_INPUT", "warn MSG_INPUT"}));
    host.calls.clear();
    EXPECT_FALSE(files.LoadProject(PathOf("x.Cwf"), false));
    EXPECT_TRUE(host.calls.isEmpty());

    WriteFile("X.CWF", ProjectText(2));
    EXPECT_TRUE(files.LoadProject(PathOf("X.CWF"), true));
    EXPECT_EQ(list.count(), 2);
}

TEST_F(ProjectFilesTest, MalformedProjectsAreRefusedWithTheListUntouched) {
    FillScenes(list, 3);
    const QStringList before = Memos(list);
    QByteArray badIn = ProjectText(2);
    badIn.replace("00:01:05:00", "00:0x:05:00");
    QByteArray shortIn = ProjectText(2);
    shortIn.replace(" 00:01:00:00", "00:01:00:00");
    QByteArray badHeader = ProjectText(1);
    badHeader.replace("TCMode", "TCMOde");
    const QList<QByteArray> refused = {
        ProjectText(101),
        ProjectText(0),
        ProjectText(2).replace("Scenes\t2", "Scenes\t-2"),
        ProjectText(2).replace("Scenes\t2", "Scenes\t99999999999999999999999"),
        ProjectText(2).replace("Scenes\t2", "Scenes\t3"),  // one row line missing
        badIn,
        shortIn,
        badHeader,
        ProjectText(1).replace("TCMode\t000", "TCMode\tx"),
        ProjectText(1, "00a\t000\t0\tm"),
        ProjectText(1, "000\t000\t\tm"),
        QByteArray(),
    };
    for (int i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(i);
        WriteFile("bad.cwf", refused[i]);
        EXPECT_FALSE(files.LoadProject(PathOf("bad.cwf"), true));
        EXPECT_EQ(Memos(list), before);
        EXPECT_TRUE(list.modified());
    }
    EXPECT_TRUE(host.calls.isEmpty());  // malformed content is refused without a message
}

TEST_F(ProjectFilesTest, LoadTakesCodesModuloTheirRangeAndKeepsTheCurrentMode) {
    list.SetTimecodeMode(Fps30);
    WriteFile("codes.cwf",
              ProjectText(3, "008\t120\t1\tmemo").replace("TCMode\t000", "TCMode\t002"));
    ASSERT_TRUE(files.LoadProject(PathOf("codes.cwf"), true));
    EXPECT_EQ(list.timecodeMode(), uint32_t{Fps30});
    EXPECT_EQ(list.row(1).effect, 2);
    EXPECT_EQ(list.row(1).transition, 2);
    EXPECT_TRUE(list.row(1).tapeChange);
    EXPECT_EQ(list.row(1).inFrames, 1800);
    EXPECT_EQ(list.row(1).inText, "00:01:00:00");

    WriteFile("neg.cwf", ProjectText(2, "-001\t-5\t0\t"));
    ASSERT_TRUE(files.LoadProject(PathOf("neg.cwf"), true));
    EXPECT_EQ(list.row(1).effect, 0);
    EXPECT_EQ(list.row(1).transition, 0);
    EXPECT_TRUE(list.row(0).tapeChange);  // the first tape stays a tape change

    WriteFile("full.cwf", ProjectText(100));
    ASSERT_TRUE(files.LoadProject(PathOf("full.cwf"), true));
    EXPECT_EQ(list.count(), 100);
}

QByteArray TrnLine(const char* in, const char* out) {
    return QByteArray(in) + "  " + out + " \r\n";  // 25 characters and CR LF
}

TEST_F(ProjectFilesTest, LegacyListLoadsWithItsEffectRecords) {
    WriteFile("old.trn", "My tape\r\n" + TrnLine("00:01:00:00", "00:01:10:00") +
                             TrnLine("00:02:00:00", "00:02:05:00") +
                             TrnLine("00:03:00:00", "00:03:01:00"));
    WriteFile("old.fxd", "xxx003xx005x\r\nxxx002xx011x\r\nxxx-01xx018x\r\nxxx009xxab1x\r\n");
    ASSERT_TRUE(files.LoadProject(PathOf("old.trn"), true));
    ASSERT_EQ(list.count(), 4);
    EXPECT_TRUE(list.row(0).tapeChange);
    EXPECT_EQ(list.row(0).memo, "My tape");
    EXPECT_EQ(list.row(0).effect, 5);
    EXPECT_EQ(list.row(0).transition, 105);
    EXPECT_EQ(list.row(1).inText, "00:01:00:00");
    EXPECT_EQ(list.row(1).durationFrames, 250);
    EXPECT_EQ(list.row(1).effect, 3);
    EXPECT_EQ(list.row(1).transition, 117);
    EXPECT_EQ(list.row(2).effect, 0);  // a negative legacy effect is no effect
    EXPECT_EQ(list.row(2).transition, 100);
    EXPECT_EQ(list.row(3).effect, 5);  // 9 mod 6 = 3
    EXPECT_EQ(list.row(3).transition, 100);
    EXPECT_EQ(list.totalText(), "00:00:16:00");
    EXPECT_FALSE(list.row(1).tapeChange);
}

TEST_F(ProjectFilesTest, LegacyLinesThatAreNotScenesAreSkippedAndRecordsFollowTheirLines) {
    WriteFile("MIX.TRN", "Title\r\n" + TrnLine("00:01:00:00", "00:01:10:00") +
                             TrnLine("00:0x:00:00", "00:02:05:00") +  // not a time: skipped
                             QByteArray(26, ' ') + "\r\n" +           // a scene without points
                             TrnLine("00:04:00:00", "00:04:02:00"));
    WriteFile("MIX.FXD",
              "xxx000xx000x\r\nxxx001xx001x\r\nxxx002xx002x\r\nxxx003xx003x\r\n"
              "xxx004xx004x\r\n");
    ASSERT_TRUE(files.LoadProject(PathOf("MIX.TRN"), true));
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.row(1).effect, 1);
    EXPECT_EQ(list.row(2).inText, "00:00:00:00");
    EXPECT_EQ(list.row(2).effect, 5);  // legacy 3, the record of its own line
    EXPECT_EQ(list.row(3).inText, "00:04:00:00");
    EXPECT_EQ(list.row(3).effect, 2);  // legacy 4
}

TEST_F(ProjectFilesTest, TheEffectCompanionIsFoundWhateverItsLetterCase) {
    const QByteArray scene = "Title\r\n" + TrnLine("00:01:00:00", "00:01:10:00");
    const QByteArray effect3 = "xxx000xx000x\r\nxxx003xx000x\r\n";  // legacy 3 is effect 5
    WriteFile("trip.TRN", scene);
    WriteFile("trip.fxd", effect3);
    WriteFile("TRIP.trn", scene);
    WriteFile("TRIP.FXD", effect3);
    WriteFile("Mixed.trn", scene);
    WriteFile("mIXED.fXd", effect3);
    for (const char* name : {"trip.TRN", "TRIP.trn", "Mixed.trn"}) {
        ASSERT_TRUE(files.LoadProject(PathOf(name), true)) << name;
        EXPECT_EQ(list.row(1).effect, 5) << name;
    }

    // Several spellings: the one that follows the .trn's own wins.
    WriteFile("both.trn", scene);
    WriteFile("both.FXD", "xxx000xx000x\r\nxxx001xx000x\r\n");
    WriteFile("both.fxd", effect3);
    ASSERT_TRUE(files.LoadProject(PathOf("both.trn"), true));
    EXPECT_EQ(list.row(1).effect, 5);
}

TEST_F(ProjectFilesTest, LegacyTitleIsReadInTheUsersCodePage) {
    WriteFile("sj.trn", QByteArray("\x93\xFA\x96\x7B") + "\r\n");  // Shift-JIS "日本"
    ProjectFiles japanese(list, host, kLanguageJapanese);
    ASSERT_TRUE(japanese.LoadProject(PathOf("sj.trn"), true));
    EXPECT_EQ(list.row(0).memo, QString::fromUtf8("日本"));
}

TEST(ProjectPath, ExtensionFolderAndNameFollowTheLastSeparators) {
    EXPECT_EQ(PathExtension("/a/b.cwf"), "cwf");
    EXPECT_EQ(PathExtension("/a/b.html"), "html");
    EXPECT_EQ(PathExtension("/a/b.backup"), "");
    EXPECT_EQ(PathExtension("/a.d/b"), "");
    EXPECT_EQ(PathDirectory("/a/b.cwf"), "/a");
    EXPECT_EQ(PathDirectory("b.cwf"), "");
    EXPECT_EQ(PathWithoutExtension("/a.d/b.txt"), "/a.d/b");
    EXPECT_EQ(PathWithoutExtension("/a.d/b"), "/a.d/b");
}

}  // namespace
