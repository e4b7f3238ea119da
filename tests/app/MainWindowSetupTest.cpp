#include <QSettings>

#include "MainWindowFixture.h"

namespace {

using MainWindowSetupTest = MainWindowTest;

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
    Start();

    EXPECT_FALSE(context->options().thirtyFps());
    EXPECT_EQ(context->options().preRollFrames(), 160);
    ASSERT_EQ(context->devices().devices.size(), 2u);
    EXPECT_EQ(context->devices().devices[1].id, 4);
    EXPECT_EQ(context->devices().playerId, 3);
    // No port is stored: nothing could answer.
    EXPECT_EQ(context->devices().devices[0].present, 0);
}

}  // namespace
