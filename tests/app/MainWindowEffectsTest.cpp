// The effect toolbar inside the real main window: what its first show reads (model code,
// category, the stored player), the buttons it builds, and refusals shown as warnings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/AppContext.h"
#include "app/TfrmEDS.h"
#include "ScriptedPrompts.h"
#include "edit/SceneListFixtures.h"
#include "ui/EffectButton.h"
#include "ui/EffectToolbar.h"

namespace {

class MainWindowEffectsTest : public ::testing::Test {
protected:
    void Show() {
        window = std::make_unique<TfrmEDS>(context, prompts);
        window->show();
        while (!window->firstShowDone())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EffectToolbar& Toolbar() const { return *window->effectToolbar(); }
    int AvailableButtons() const {
        int n = 0;
        for (int i = 0; i < Toolbar().buttonCount(); ++i)
            n += Toolbar().button(i)->isAvailable();
        return n;
    }

    QTemporaryDir home;
    AppContext context{ProgramFolder(home.path(), {QApplication::applicationDirPath()}), 9,
                       home.path()};
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmEDS> window;
};

TEST_F(MainWindowEffectsTest, FirstShowLooksUpTheStoredPlayerAndBuildsTheButtons) {
    context.settings().WriteInteger(settings_keys::kCode, 870);
    ASSERT_TRUE(context.deviceStore().WriteInt("INIT", "CurID", 1));
    Show();
    EXPECT_EQ(context.capabilities().ModelCode(), 870);
    EXPECT_EQ(context.capabilities().Category(), 7);  // missing: a video camera
    ASSERT_EQ(Toolbar().buttonCount(), 24);
    // Model 870 of the supplied file: no joining transitions (7 buttons), no Mosaic.
    EXPECT_EQ(AvailableButtons(), 24 - 8);
    EXPECT_TRUE(Toolbar().button(0)->isVisible());
    EXPECT_EQ(Toolbar().button(0)->parentWidget()->parentWidget()->objectName(), "pnlToolBar");
}

TEST_F(MainWindowEffectsTest, WithoutAStoredPlayerOnlyTheNoneButtonsWork) {
    context.settings().WriteInteger(settings_keys::kCode, 1240);
    context.settings().WriteInteger(settings_keys::kCategory, 1);
    Show();
    EXPECT_EQ(context.capabilities().Category(), 1);
    EXPECT_EQ(AvailableButtons(), 2);
    EXPECT_TRUE(Toolbar().button(5)->isAvailable());
    EXPECT_TRUE(Toolbar().button(23)->isAvailable());
}

TEST_F(MainWindowEffectsTest, ARefusedCombinationIsShownAsAWarningOfTheProgram) {
    context.settings().WriteInteger(settings_keys::kCode, 530);
    ASSERT_TRUE(context.deviceStore().WriteInt("INIT", "CurID", 1));
    Show();
    SceneList& list = context.scenes();
    FillScenes(list, 3);
    list.SetTransition(1, 102);
    list.SelectOnly(2);
    QTest::mouseClick(Toolbar().button(0), Qt::LeftButton);  // Sepia after a black fade
    EXPECT_EQ(list.row(2).effect, 0);
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_TRUE(prompts.warnings[0].startsWith("No.02 Sepia\nNo.01 Black fade\n"));
    EXPECT_EQ(prompts.titles.back(), "Clipwright");

    // A delete that leaves an overlap without its following scene clears it, with a warning.
    prompts.warnings.clear();
    list.SetTransition(2, 117);
    list.SelectOnly(3);
    list.DeleteSelected();
    EXPECT_EQ(list.row(2).transition, 100);
    EXPECT_EQ(prompts.warnings.size(), 1);
}

}  // namespace
