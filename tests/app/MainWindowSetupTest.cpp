#include <QApplication>
#include <QSettings>
#include <QTimer>

#include "MainWindowFixture.h"
#include "ui/TfrmOption.h"
#include "ui/TfrmTarnDev.h"

namespace {

class MainWindowSetupTest : public MainWindowTest {
protected:
    void StartWithSetupWindows() {
        Start();
        options = std::make_unique<TfrmOption>(context->options(), context->settings(),
                                               context->captions(), window.get());
        devices = std::make_unique<TfrmTarnDev>(context->deviceSetup(), context->settings(),
                                                context->captions(), window.get());
        window->SetSetupWindows(options.get(), devices.get(), nullptr);
    }
    void TearDown() override {
        options.reset();
        devices.reset();
        MainWindowTest::TearDown();
    }
    // Triggers a menu item whose dialog runs modally and closes whatever modal dialog opened.
    QString TriggerAndCancel(QAction* item) {
        QString opened;
        QTimer::singleShot(100, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            }
        });
        item->trigger();
        return opened;
    }

    std::unique_ptr<TfrmOption> options;
    std::unique_ptr<TfrmTarnDev> devices;
};

TEST_F(MainWindowSetupTest, FirstShowLoadsTheOptionsAtTheStoredFrameRateAndTheDeviceList) {
    QSettings ini(QDir(home.path()).filePath("cw20.ini"), QSettings::IniFormat);
    ini.setValue("Setup/FrameMode", 0);
    ini.setValue("Option/SyncroEdit", 160);
    ini.sync();
    CTarnReg store(home.path());
    store.WriteInt("INIT", "DEVICES", 2);
    store.WriteInt("INIT", "ID0", 3);
    store.WriteInt("INIT", "ID1", 4);
    store.WriteInt("INIT", "CurID", 3);
    StartWithSetupWindows();

    EXPECT_FALSE(context->options().thirtyFps());
    EXPECT_EQ(context->options().preRollFrames(), 160);
    ASSERT_EQ(context->devices().devices.size(), 2u);
    EXPECT_EQ(context->devices().devices[1].id, 4);
    EXPECT_EQ(context->devices().playerId, 3);
    // No port is stored: nothing could answer.
    EXPECT_EQ(context->devices().devices[0].present, 0);
}

TEST_F(MainWindowSetupTest, PreferenceMenuOpensOptionsAndTarnDevices) {
    StartWithSetupWindows();
    const MainMenus& m = window->menus();
    ASSERT_TRUE(m.mnuOpt->isEnabled());
    ASSERT_TRUE(m.mnuDev->isEnabled());
    EXPECT_FALSE(m.mnuMoni->isEnabled()) << "no monitor was handed over";
    EXPECT_EQ(TriggerAndCancel(m.mnuOpt), "frmOption");
    EXPECT_EQ(TriggerAndCancel(m.mnuDev), "frmTarnDev");
    EXPECT_TRUE(window->isEnabled()) << "the device setup gives the main window back";
}

}  // namespace
