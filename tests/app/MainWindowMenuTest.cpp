// The Edit and File menus' enabled items, the Delete question and the list's rows through the
// main window's menu items.
#include <QAction>
#include <QMenu>

#include "MainWindowFixture.h"
#include "edit/SceneListFixtures.h"
#include "ui/SceneListView.h"

namespace {

struct EditItems {
    bool copy, cut, paste, del, nonSel, mod, add;
    bool operator==(const EditItems&) const = default;
};

EditItems OpenEditMenu(const TfrmEDS& window) {
    const MainMenus& m = window.menus();
    emit m.mnuEdit->aboutToShow();
    return {m.mnuCopy->isEnabled(),
            m.mnuCut->isEnabled(),
            m.mnuPaste->isEnabled(),
            m.mnuDel->isEnabled(),
            m.mnuNonSel->isEnabled(),
            m.mnuMod->isEnabled(),
            m.mnuScene->isEnabled() && m.mnuTChange->isEnabled()};
}

}  // namespace

TEST_F(MainWindowTest, EditMenuFollowsTheSelectionTheClipAndTheListsRoom) {
    Start();
    // A new list: row 0 alone, selected. Nothing to cut or delete, nothing in the clip.
    EXPECT_EQ(OpenEditMenu(*window), (EditItems{true, false, false, false, false, true, true}));

    FillScenes(scenes(), 3);
    scenes().SelectOnly(2);
    EXPECT_EQ(OpenEditMenu(*window), (EditItems{true, true, false, true, true, true, true}));

    window->menus().mnuCopy->trigger();
    EXPECT_EQ(OpenEditMenu(*window), (EditItems{true, true, true, true, true, true, true}));

    // Two rows: no single row to modify, to paste before or to add after.
    scenes().AddToSelection(3);
    EXPECT_EQ(OpenEditMenu(*window), (EditItems{true, true, false, true, true, false, false}));

    // Pasting before row 0 is refused.
    scenes().SelectOnly(0);
    EXPECT_FALSE(OpenEditMenu(*window).paste);

    // A full list has room for neither an added nor a pasted row.
    FillScenes(scenes(), 99);
    scenes().SelectOnly(5);
    EXPECT_EQ(OpenEditMenu(*window), (EditItems{true, true, false, true, true, true, false}));
}

TEST_F(MainWindowTest, EditItemsAndCtrlAActOnTheListAndDeleteAsksWithTheCount) {
    Start();
    FillScenes(scenes(), 3);
    scenes().SelectOnly(1);
    window->menus().mnuCut->trigger();
    EXPECT_EQ(Memos(scenes()), (QStringList{"", "r2", "r3"}));
    scenes().SelectOnly(2);
    window->menus().mnuPaste->trigger();
    EXPECT_EQ(Memos(scenes()), (QStringList{"", "r2", "r1", "r3"}));
    window->menus().mnuTChange->trigger();
    EXPECT_TRUE(scenes().row(3).tapeChange);
    window->menus().mnuAllSel->trigger();
    EXPECT_EQ(scenes().selectedCount(), scenes().count());
    window->menus().mnuNonSel->trigger();
    EXPECT_EQ(SelectedRows(scenes()), QList<int>{0});
    EXPECT_TRUE(prompts.questions.isEmpty());
    // Ctrl+A reaches the list.
    window->activateWindow();
    QTest::keyClick(window->list(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scenes().selectedCount(), 5);

    // Delete asks with the count, in the singular for one row.
    FillScenes(scenes(), 4);
    SelectRows(scenes(), {1});
    prompts.answers = {false};
    window->menus().mnuDel->trigger();
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions.last(), "Delete 1 selected row?");

    SelectRows(scenes(), {1, 3});
    prompts.answers = {false};
    window->menus().mnuDel->trigger();
    EXPECT_EQ(prompts.questions.last(), "Delete 2 selected rows?");
    EXPECT_EQ(prompts.titles.last(), "Clipwright");
    EXPECT_EQ(scenes().count(), 5);

    prompts.answers = {true};
    window->menus().mnuDel->trigger();
    EXPECT_EQ(Memos(scenes()), (QStringList{"", "r2", "r4"}));
}

TEST_F(MainWindowTest, ModifyEditPointsOpensTheFirstSelectedRowInTheCorrectionDialog) {
    Start();
    FillScenes(scenes(), 2);
    scenes().SelectOnly(2);
    QString shownMemo;
    OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmCrct*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownMemo = dialog->memo();
        dialog->reject();
    });
    ASSERT_TRUE(OpenEditMenu(*window).mod);
    window->menus().mnuMod->trigger();
    EXPECT_EQ(shownMemo, "r2");
    EXPECT_EQ(Memos(scenes()), (QStringList{"", "r1", "r2"}));  // Cancel changes nothing
}

TEST_F(MainWindowTest, ItemsWithoutTheirWindowsAreOffAndCaptionsComeFromTheCaptionFile) {
    Start();
    const MainMenus& m = window->menus();
    // No window was handed over for these; the link monitor shows only in debug mode.
    for (QAction* item : {m.mnuOpt, m.mnuDev, m.mnuCtl})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_FALSE(m.mnuMoni->isVisible());
    EXPECT_EQ(m.mnuSaveas->text(), "Save &As...");
}
