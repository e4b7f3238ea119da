// New, Open, Save and Save as with the save question, dropped files, the command-line file and
// refused files, through the main window with a scripted user.
#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "MainWindowFixture.h"
#include "app/MessageBoxPrompts.h"
#include "common/UnwritableFolder.h"
#include "edit/SceneListFixtures.h"
#include "ui/EditHistory.h"

namespace {

const QString kSaveQuestion = "The edit list has been changed.\nDo you want to save it?";

void Drop(TfrmEDS& window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    // The file is opened once the drop has finished.
    QApplication::processEvents();
}

// Deals with every modal window that comes up, as a user at the keyboard would, and keeps the
// texts of the boxes it met. A window it does not expect is ended too, so that a fault shows as
// a failed check rather than a test that waits for ever.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == last_)
                return;
            last_ = modal;
            const auto* box = qobject_cast<QMessageBox*>(modal);
            met << (box != nullptr ? box->text() : modal->metaObject()->className());
            act_(modal);
        });
        timer_.start();
    }

    QStringList met;

private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    QPointer<QWidget> last_;
};

}  // namespace

TEST_F(MainWindowTest, EscapeOrClosingTheSaveQuestionCancelsAndThrowsNothingAway) {
    MessageBoxPrompts boxes;
    Start({}, &boxes);
    const QString handedOver = WriteFile("handed.cwf", kTwoRowList);
    const std::pair<const char*, std::function<void()>> operations[] = {
        {"New", [&] { window->menus().mnuNew->trigger(); }},
        {"Open", [&] { window->menus().mnuOpen->trigger(); }},
        {"Import EDL", [&] { window->menus().mnuImportEdl->trigger(); }},
        {"handed-over file", [&] { EXPECT_FALSE(window->OpenAsDropped(handedOver)); }},
        {"Exit", [&] { window->close(); }},
    };
    const std::pair<const char*, std::function<void(QWidget*)>> ways[] = {
        {"Escape", [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); }},
        {"close", [](QWidget* modal) { modal->close(); }},
    };
    FillScenes(scenes(), 2);
    context->history().Perform(EditStep::Delete, [&] { scenes().DeleteSelected(); });
    const QStringList rows = Memos(scenes());
    for (const auto& [wayName, way] : ways) {
        for (const auto& [name, operation] : operations) {
            SCOPED_TRACE(std::string(wayName) + " in " + name);
            ModalAnswerer user(way);
            operation();
            EXPECT_EQ(user.met, QStringList{kSaveQuestion});
            EXPECT_EQ(Memos(scenes()), rows);
            EXPECT_TRUE(scenes().modified());
            EXPECT_EQ(context->history().stack().count(), 1);
            EXPECT_TRUE(window->isVisible());
        }
    }
    // The window goes now: No to the save question, Yes to the close question.
    ModalAnswerer user([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        box->button(box->text() == kSaveQuestion ? QMessageBox::No : QMessageBox::Yes)->click();
    });
    window->close();
    EXPECT_EQ(user.met.size(), 2);
    EXPECT_FALSE(window->isVisible());
    correction.reset();
    window.reset();
}

TEST_F(MainWindowTest, NewAsksToSaveAChangedListAndFollowsTheAnswer) {
    Start();
    const QString kept = QDir(home.path()).filePath("kept.cwf");
    struct Answer {
        bool save;
        QString file;  // chosen in the save dialog; empty: cancelled
        int fileDialogs;
        int rowsAfter;
    };
    // No discards the changes; Yes with a cancelled save keeps the list and stops New; Yes with
    // a file saves there, then clears.
    const Answer answers[] = {{false, {}, 0, 1}, {true, {}, 1, 3}, {true, kept, 1, 1}};
    for (const Answer& answer : answers) {
        SCOPED_TRACE(testing::Message()
                     << "save " << answer.save << " to '" << answer.file.toStdString() << "'");
        if (!scenes().modified())
            FillScenes(scenes(), 2);
        prompts.questions.clear();
        prompts.fileDialogs = 0;
        prompts.answers = {answer.save};
        prompts.files = {answer.file};
        window->menus().mnuNew->trigger();
        EXPECT_EQ(prompts.questions, QStringList{kSaveQuestion});
        EXPECT_EQ(prompts.fileDialogs, answer.fileDialogs);
        EXPECT_EQ(scenes().count(), answer.rowsAfter);
        EXPECT_EQ(scenes().modified(), answer.rowsAfter > 1);
    }
    EXPECT_TRUE(QFile::exists(kept));
    EXPECT_TRUE(window->document().currentFileName().isEmpty());
    EXPECT_EQ(ShownTitle(), "Clipwright");
}

TEST_F(MainWindowTest, OpenLoadsTheChosenFileAndNamesItInTheTitle) {
    Start();
    const QString path = WriteFile("two.cwf", kTwoRowList);
    prompts.files = {path};
    window->menus().mnuOpen->trigger();
    EXPECT_EQ(prompts.lastFilter, "Clipwright edit list (*.cwf *.trn)");
    ASSERT_EQ(scenes().count(), 2);
    EXPECT_EQ(scenes().row(1).memo, "from the file");
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]");
    EXPECT_EQ(window->document().defaultFolder(), QFileInfo(path).absolutePath());
    EXPECT_EQ(scenes().totalText(), "00:00:10:00");
}

TEST_F(MainWindowTest, SaveIsOfferedOnlyWithAFileAndWritesIt) {
    Start();
    emit window->menus().mnuFile->aboutToShow();
    EXPECT_FALSE(window->menus().mnusave->isEnabled());

    const QString path = WriteFile("two.cwf", kTwoRowList);
    ASSERT_TRUE(window->OpenAsDropped(path));
    emit window->menus().mnuFile->aboutToShow();
    EXPECT_TRUE(window->menus().mnusave->isEnabled());

    scenes().ModifyRow(1, "00:02:00:00", "00:02:05:00", "changed", false);
    window->menus().mnusave->trigger();
    EXPECT_FALSE(scenes().modified());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\t 00:02:00:00\t 00:02:05:00\t002\t000\t0\tchanged\r\n"));
    EXPECT_TRUE(prompts.questions.isEmpty());  // Save never asks before replacing its own file
}

TEST_F(MainWindowTest, SaveAsProposesTheNameAndAsksBeforeReplacing) {
    Start();
    const QString path = WriteFile("two.cwf", kTwoRowList);
    ASSERT_TRUE(window->OpenAsDropped(path));
    const QString other = QDir(home.path()).filePath("other.cwf");
    prompts.files = {path, other};
    prompts.answers = {false};  // do not replace two.cwf
    window->menus().mnuSaveas->trigger();
    EXPECT_EQ(prompts.lastProposedName, "two.cwf");
    EXPECT_EQ(prompts.questions,
              QStringList{"This file already exists.\nDo you want to replace it?"});
    EXPECT_EQ(window->document().currentFileName(), path);

    window->menus().mnuSaveas->trigger();
    EXPECT_EQ(window->document().currentFileName(), other);
    EXPECT_EQ(ShownTitle(), "Clipwright [" + other + "]");
    EXPECT_TRUE(QFile::exists(other));
}

TEST_F(MainWindowTest, AFailedSaveSaysSoNamingTheFileAndTheReasonAndKeepsTheListChanged) {
    Start();
    const QString path = WriteFile("two.cwf", kTwoRowList);
    ASSERT_TRUE(window->OpenAsDropped(path));
    scenes().ModifyRow(1, "00:02:00:00", "00:02:05:00", "changed", false);
    UnwritableFolder folder(home.path(), "locked");
    const QString locked = folder.FilePath("two.cwf");
    // Save as into the locked folder, then Save to a file whose folder has become locked.
    const std::pair<QAction*, QString> saves[] = {{window->menus().mnuSaveas, locked},
                                                  {window->menus().mnusave, path}};
    QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const auto& [item, file] : saves) {
        prompts.warnings.clear();
        prompts.files = {locked};
        item->trigger();
        EXPECT_EQ(prompts.warnings,
                  QStringList{"The file " + file + " could not be written.\nPermission denied"});
        EXPECT_TRUE(scenes().modified());
        EXPECT_EQ(window->document().currentFileName(), path);
    }
    QFile::setPermissions(home.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), kTwoRowList) << "the old file is kept whole";
}

TEST_F(MainWindowTest, TheTitleMarksUnsavedChangesAndCtrlQQuits) {
    Start();
    const QString path = WriteFile("two [*].cwf", kTwoRowList);
    ASSERT_TRUE(window->OpenAsDropped(path));
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]");
    scenes().ModifyRow(1, "00:02:00:00", "00:02:05:00", "changed", false);
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]*");
    window->menus().mnusave->trigger();
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]");

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    prompts.answers = {true};
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(prompts.questions, QStringList{"Do you want to quit Clipwright?"});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, FileDialogsOpenWhereTheirKindOfFileWasLastUsedEvenAfterARestart) {
    QDir(home.path()).mkpath("lists");
    QDir(home.path()).mkpath("edls");
    const QString lists = QDir(home.path()).filePath("lists");
    const QString edls = QDir(home.path()).filePath("edls");
    const QString edl =
        WriteFile("edls/one.edl", "001  A V C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\n");
    for (const bool restarted : {false, true}) {
        SCOPED_TRACE(restarted ? "after a restart" : "first start");
        Start();
        if (!restarted) {
            prompts.files = {WriteFile("lists/two.cwf", kTwoRowList)};
            window->menus().mnuOpen->trigger();
            ASSERT_EQ(scenes().count(), 2);
        }
        prompts.files = {edl};
        window->menus().mnuImportEdl->trigger();
        EXPECT_EQ(prompts.lastFolder, restarted ? edls : lists);
        window->menus().mnuExportEdl->trigger();
        EXPECT_EQ(prompts.lastFolder, edls);
        window->menus().mnuSaveas->trigger();
        EXPECT_EQ(prompts.lastFolder, lists) << "an EDL does not move the lists' folder";
        window->menus().mnuOpen->trigger();
        EXPECT_EQ(prompts.lastFolder, lists);
        CloseWithoutQuestions();
    }
}

TEST_F(MainWindowTest, ADropOpensOnlyTheFirstFile) {
    Start();
    const QString first = WriteFile("first.cwf", kTwoRowList);
    const QString second = WriteFile("second.cwf", kTwoRowList);
    Drop(*window, {first, second});
    EXPECT_EQ(window->document().currentFileName(), first);
    EXPECT_TRUE(ShownTitle().endsWith("first.cwf]"));
    EXPECT_EQ(scenes().count(), 2);
    EXPECT_EQ(scenes().current(), 0);
}

TEST_F(MainWindowTest, ADropOntoAChangedListAsksFirst) {
    Start();
    FillScenes(scenes(), 3);
    prompts.answers = {true};
    prompts.files = {QString()};  // Yes, then the save is cancelled: nothing is opened
    Drop(*window, {WriteFile("first.cwf", kTwoRowList)});
    EXPECT_EQ(scenes().count(), 4);
    EXPECT_TRUE(window->document().currentFileName().isEmpty());
}

TEST_F(MainWindowTest, ARefusedFileIsReportedOnceAndLeavesTheListAsItWas) {
    Start();
    FillScenes(scenes(), 2);
    scenes().SetModified(false);
    QByteArray malformed = kTwoRowList;
    malformed.replace("Scenes\t002", "Scenes\tabc");
    const QString bad = WriteFile("bad.cwf", malformed);
    const QString wrongExtension = WriteFile("list.Cwf", kTwoRowList);
    for (const QString& path : {bad, wrongExtension, QDir(home.path()).filePath("missing.cwf")}) {
        prompts.warnings.clear();
        EXPECT_FALSE(window->OpenAsDropped(path));
        EXPECT_EQ(prompts.warnings, QStringList{"The file could not be read or written."})
            << path.toStdString();
        EXPECT_EQ(Memos(scenes()), (QStringList{"", "r1", "r2"}));
        EXPECT_TRUE(window->document().currentFileName().isEmpty());
        EXPECT_EQ(prompts.titles.last(), "Clipwright");
    }
}

TEST_F(MainWindowTest, TheCommandLineFileOpensAtTheFirstShow) {
    Start(DemoList());
    EXPECT_EQ(window->document().currentFileName(), DemoList());
    EXPECT_EQ(ShownTitle(), "Clipwright [" + DemoList() + "]");
    EXPECT_EQ(scenes().count(), 8);
    EXPECT_FALSE(scenes().modified());
    EXPECT_TRUE(prompts.warnings.isEmpty());
}
