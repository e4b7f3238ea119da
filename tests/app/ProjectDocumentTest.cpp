// The list's project document without a window: the save question before whatever replaces the
// list, Open, Save as, failed saves, refused files and the folders its file dialogs start in,
// on real files with a scripted user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "ScriptedPrompts.h"
#include "app/AppContext.h"
#include "app/ProjectDocument.h"
#include "common/UnwritableFolder.h"
#include "edit/SceneList.h"
#include "edit/SceneListFixtures.h"

namespace {

const QString kSaveQuestion = "The edit list has been changed.\nDo you want to save it?";

// An edit list file of a tape-change row and one scene.
const QByteArray kTwoRowList =
    "TCMode\t000\r\nScenes\t002\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
    "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tfirst tape\r\n"
    "001\t 00:01:00:00\t 00:01:10:00\t002\t000\t0\tfrom the file\r\n";

class ProjectDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        Start();
    }

    // A program start on the same folder: the settings of the last one are read again.
    void Start() {
        document.reset();
        context.reset();
        const ProgramFolder folder(home.path(), {QApplication::applicationDirPath()});
        context = std::make_unique<AppContext>(folder, 9, home.path());
        document = std::make_unique<ProjectDocument>(*context, prompts, nullptr);
        document->ReadDefaultFolder();
    }

    QString Path(const QString& name) const { return QDir(home.path()).filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    SceneList& scenes() { return context->scenes(); }

    QTemporaryDir home;
    ScriptedPrompts prompts;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<ProjectDocument> document;
};

}  // namespace

TEST_F(ProjectDocumentTest, TheSaveQuestionBeforeNewOrADroppedFileFollowsTheAnswer) {
    const QString dropped = WriteFile("dropped.cwf", kTwoRowList);
    const std::pair<const char*, std::function<void()>> operations[] = {
        {"New", [&] { document->New(); }},
        {"dropped file", [&] { document->OpenAsDropped(dropped); }},
    };
    struct Answer {
        bool save;
        QString file;  // chosen in the save dialog; empty: cancelled
        bool goesOn;
    };
    // No discards the changes; Yes with a cancelled save keeps the list and stops the operation;
    // Yes with a file saves there, then goes on.
    const Answer answers[] = {{false, {}, true}, {true, {}, false}, {true, Path("kept.cwf"), true}};
    for (const auto& [name, operation] : operations) {
        for (const Answer& answer : answers) {
            SCOPED_TRACE(testing::Message() << name << ", save " << answer.save << " to '"
                                            << answer.file.toStdString() << "'");
            QFile::remove(Path("kept.cwf"));
            FillScenes(scenes(), 2);
            const QStringList changed = Memos(scenes());
            prompts.questions.clear();
            prompts.fileDialogs = 0;
            prompts.answers = {answer.save};
            prompts.files = {answer.file};
            operation();
            EXPECT_EQ(prompts.questions, QStringList{kSaveQuestion});
            EXPECT_EQ(prompts.fileDialogs, answer.save ? 1 : 0);
            EXPECT_EQ(Memos(scenes()) == changed, !answer.goesOn);
            EXPECT_EQ(scenes().modified(), !answer.goesOn);
            if (answer.file.isEmpty())
                continue;
            // The file saved holds the changed list whole.
            ASSERT_TRUE(document->OpenAsDropped(answer.file));
            EXPECT_EQ(Memos(scenes()), changed);
        }
    }
}

TEST_F(ProjectDocumentTest, OpenLoadsTheChosenFileAndSaveAsAsksBeforeReplacing) {
    const QString path = WriteFile("two.cwf", kTwoRowList);
    QSignalSpy named(document.get(), &ProjectDocument::fileNameChanged);
    prompts.files = {path};
    document->Open();
    EXPECT_EQ(prompts.lastFilter, "Clipwright edit list (*.cwf *.trn)");
    ASSERT_EQ(scenes().count(), 2);
    EXPECT_EQ(scenes().row(1).memo, "from the file");
    EXPECT_EQ(scenes().totalText(), "00:00:10:00");
    EXPECT_EQ(document->currentFileName(), path);
    EXPECT_EQ(document->defaultFolder(), QFileInfo(path).absolutePath());
    EXPECT_EQ(named.count(), 1);

    const QString other = Path("other.cwf");
    prompts.files = {path, other};
    prompts.answers = {false};  // do not replace two.cwf
    EXPECT_FALSE(document->SaveAs());
    EXPECT_EQ(prompts.lastProposedName, "two.cwf");
    EXPECT_EQ(prompts.questions,
              QStringList{"This file already exists.\nDo you want to replace it?"});
    EXPECT_EQ(document->currentFileName(), path);
    EXPECT_TRUE(document->SaveAs());
    EXPECT_EQ(document->currentFileName(), other);
    EXPECT_EQ(named.count(), 2);
    EXPECT_TRUE(QFile::exists(other));
}

TEST_F(ProjectDocumentTest, AFailedSaveSaysSoNamingTheFileAndTheReasonAndKeepsTheListChanged) {
    const QString path = WriteFile("two.cwf", kTwoRowList);
    ASSERT_TRUE(document->OpenAsDropped(path));
    scenes().ModifyRow(1, "00:02:00:00", "00:02:05:00", "changed", false);
    UnwritableFolder folder(home.path(), "locked");
    const QString locked = folder.FilePath("two.cwf");
    // Save as into the locked folder, then Save to a file whose folder has become locked.
    const std::pair<std::function<void()>, QString> saves[] = {
        {[&] { document->SaveAs(); }, locked}, {[&] { document->Save(); }, path}};
    QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const auto& [save, file] : saves) {
        prompts.warnings.clear();
        prompts.files = {locked};
        save();
        EXPECT_EQ(prompts.warnings,
                  QStringList{"The file " + file + " could not be written.\nPermission denied"});
        EXPECT_TRUE(scenes().modified());
        EXPECT_EQ(document->currentFileName(), path);
    }
    QFile::setPermissions(home.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), kTwoRowList) << "the old file is kept whole";
}

TEST_F(ProjectDocumentTest, ARefusedFileIsReportedOnceAndLeavesTheListAsItWas) {
    FillScenes(scenes(), 2);
    scenes().SetModified(false);
    QByteArray malformed = kTwoRowList;
    malformed.replace("Scenes\t002", "Scenes\tabc");
    const QString bad = WriteFile("bad.cwf", malformed);
    const QString wrongExtension = WriteFile("list.Cwf", kTwoRowList);
    for (const QString& path : {bad, wrongExtension, Path("missing.cwf")}) {
        prompts.warnings.clear();
        EXPECT_FALSE(document->OpenAsDropped(path));
        EXPECT_EQ(prompts.warnings, QStringList{"The file could not be read or written."})
            << path.toStdString();
        EXPECT_EQ(Memos(scenes()), (QStringList{"", "r1", "r2"}));
        EXPECT_TRUE(document->currentFileName().isEmpty());
        EXPECT_EQ(prompts.titles.last(), "Clipwright");
    }
}

TEST_F(ProjectDocumentTest, FileDialogsOpenWhereTheirKindOfFileWasLastUsedEvenAfterARestart) {
    QDir(home.path()).mkpath("lists");
    QDir(home.path()).mkpath("edls");
    const QString lists = Path("lists");
    const QString edls = Path("edls");
    const QString edl =
        WriteFile("edls/one.edl", "001  A V C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\n");
    for (const bool restarted : {false, true}) {
        SCOPED_TRACE(restarted ? "after a restart" : "first start");
        if (restarted) {
            Start();
        } else {
            prompts.files = {WriteFile("lists/two.cwf", kTwoRowList)};
            document->Open();
            ASSERT_EQ(scenes().count(), 2);
        }
        prompts.files = {edl};
        document->ImportEdl();
        EXPECT_EQ(prompts.lastFolder, restarted ? edls : lists);
        document->ExportEdl();
        EXPECT_EQ(prompts.lastFolder, edls);
        document->SaveAs();
        EXPECT_EQ(prompts.lastFolder, lists) << "an EDL does not move the lists' folder";
        document->Open();
        EXPECT_EQ(prompts.lastFolder, lists);
    }
}
