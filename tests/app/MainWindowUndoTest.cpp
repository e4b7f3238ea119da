// Undo and redo in the main window through its real menu items and shortcuts: the items name
// the step, the list, its total and the menus show the restored state, opening a list forgets
// the history, and undoing back to the opened list spares the save question.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "MainWindowFixture.h"
#include "edit/SceneListFixtures.h"
#include "ui/SceneListView.h"

namespace {

class MainWindowUndoTest : public MainWindowTest {
protected:
    const MainMenus& Menus() const { return window->menus(); }
    void Shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        window->activateWindow();
        QTest::keyClick(window->list(), key, modifiers);
    }
    static QString Shown(const QAction* item) { return QString(item->text()).remove(u'&'); }
    QString TotalShown() const {
        return window->findChild<QLabel*>(QStringLiteral("pnlTotalTime"))->text();
    }
};

TEST_F(MainWindowUndoTest, CtrlZAndCtrlYUndoAndRedoADeleteThatTheMenusName) {
    Start();
    ASSERT_TRUE(window->OpenAsDropped(DemoList()));
    EXPECT_FALSE(Menus().mnuUndo->isEnabled());
    EXPECT_FALSE(Menus().mnuRedo->isEnabled());
    EXPECT_EQ(Shown(Menus().mnuUndo), "Undo");
    EXPECT_TRUE(Menus().pm1->actions().contains(Menus().mnuUndo));
    EXPECT_TRUE(Menus().pm1->actions().contains(Menus().mnuRedo));

    SelectRows(scenes(), {1, 2, 3});
    const SceneListState before = scenes().State();
    const QString totalBefore = TotalShown();
    prompts.answers = {true};
    Menus().mnuDel->trigger();
    const SceneListState after = scenes().State();
    ASSERT_NE(after, before);
    EXPECT_EQ(Shown(Menus().mnuUndo), "Undo Delete 3 Scenes");
    EXPECT_FALSE(Menus().mnuRedo->isEnabled());

    Shortcut(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scenes().State(), before);
    EXPECT_EQ(TotalShown(), totalBefore);
    EXPECT_FALSE(scenes().modified());
    EXPECT_EQ(Shown(Menus().mnuRedo), "Redo Delete 3 Scenes");
    EXPECT_FALSE(Menus().mnuUndo->isEnabled());

    Shortcut(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(scenes().State(), after);
    EXPECT_TRUE(scenes().modified());
    Shortcut(Qt::Key_Z, Qt::ControlModifier);
    Shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(scenes().State(), after);
    EXPECT_EQ(Shown(Menus().mnuUndo), "Undo Delete 3 Scenes");
}

TEST_F(MainWindowUndoTest,
       OpeningOrCreatingAListForgetsTheHistoryAndUndoingToTheOpenedOneSparesTheSave) {
    Start();
    scenes().SelectOnly(0);
    Menus().mnuTChange->trigger();
    ASSERT_TRUE(Menus().mnuUndo->isEnabled());
    prompts.answers = {false};  // the changes are not saved
    ASSERT_TRUE(window->OpenAsDropped(DemoList()));
    EXPECT_FALSE(Menus().mnuUndo->isEnabled());

    scenes().SelectOnly(1);
    Menus().mnuScene->trigger();
    Menus().mnuUndo->trigger();
    ASSERT_TRUE(Menus().mnuRedo->isEnabled());
    Menus().mnuNew->trigger();
    EXPECT_FALSE(Menus().mnuUndo->isEnabled());
    EXPECT_FALSE(Menus().mnuRedo->isEnabled());

    // Undoing back to the opened list spares the save question.
    ASSERT_TRUE(window->OpenAsDropped(DemoList()));
    scenes().SelectOnly(2);
    Menus().mnuScene->trigger();
    EXPECT_TRUE(scenes().modified());
    EXPECT_EQ(Shown(Menus().mnuUndo), "Undo Add Scene");
    Menus().mnuUndo->trigger();
    EXPECT_FALSE(scenes().modified());
    prompts.questions.clear();
    prompts.answers = {true};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.questions, QStringList{"Do you want to quit Clipwright?"});
    correction.reset();
    window.reset();
}

}  // namespace
