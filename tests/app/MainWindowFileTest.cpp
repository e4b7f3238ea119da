// The File menu, dropped files and the command-line file through the main window: the save
// question in the program's own boxes, Save offered with a file, the title following the file.
// What the commands do to the list and its files is the project document's test.
#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "MainWindowFixture.h"
#include "app/MessageBoxPrompts.h"
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

TEST_F(MainWindowTest, ADropOpensTheFirstFileWhichTheTitleNamesMarkingUnsavedChangesAndCtrlQQuits) {
    Start();
    const QString path = WriteFile("two [*].cwf", kTwoRowList);
    Drop(*window, {path, WriteFile("second.cwf", kTwoRowList)});
    EXPECT_EQ(window->document().currentFileName(), path);
    EXPECT_EQ(scenes().count(), 2);
    EXPECT_EQ(scenes().current(), 0);
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]");
    scenes().ModifyRow(1, "00:02:00:00", "00:02:05:00", "changed", false);
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]*");
    window->menus().mnusave->trigger();
    EXPECT_EQ(ShownTitle(), "Clipwright [" + path + "]");
    const QString other = QDir(home.path()).filePath("other.cwf");
    prompts.files = {other};
    window->menus().mnuSaveas->trigger();
    EXPECT_EQ(ShownTitle(), "Clipwright [" + other + "]");
    window->menus().mnuNew->trigger();
    EXPECT_EQ(ShownTitle(), "Clipwright");

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    prompts.answers = {true};
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(prompts.questions, QStringList{"Do you want to quit Clipwright?"});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TheCommandLineFileOpensAtTheFirstShow) {
    Start(DemoList());
    EXPECT_EQ(window->document().currentFileName(), DemoList());
    EXPECT_EQ(ShownTitle(), "Clipwright [" + DemoList() + "]");
    EXPECT_EQ(scenes().count(), 8);
    EXPECT_FALSE(scenes().modified());
    EXPECT_TRUE(prompts.warnings.isEmpty());
}
