#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "config/SettingsFile.h"
#include "devices/CTarnReg.h"
#include "devices/DeviceSettingsStore.h"

namespace {

class DeviceSettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    QTemporaryDir configHome;
    SettingsFile settings{programDir.path()};
    CTarnReg store{configHome.path()};
    DeviceSettingsStore devices{store, settings};
    DeviceConfig config;
};

TEST_F(DeviceSettingsStoreTest, TheStoreWinsOverTheSettingsFileWhichWinsOverNothing) {
    settings.WriteInteger(settings_keys::kCom, 2);
    settings.WriteInteger(settings_keys::kPlayId, 7);
    settings.WriteInteger(settings_keys::kRecId, 9);
    settings.WriteInteger(settings_keys::kDevices, 2);
    settings.WriteInteger(settings_keys::kInitSection, "ID0", 7);
    settings.WriteInteger(settings_keys::kInitSection, "ID1", 0x109);  // low byte 9
    store.WriteInt("INIT", "COM", 1);
    store.WriteInt("INIT", "CurID", 3);

    devices.LoadSelectionAndDevices(config);
    EXPECT_EQ(config.port, 1);
    EXPECT_EQ(config.playerId, 3);
    EXPECT_EQ(config.recorderId, 9);
    ASSERT_EQ(config.devices.size(), 2u);
    EXPECT_EQ(config.devices[0].id, 7);
    EXPECT_EQ(config.devices[1].id, 9);
    EXPECT_EQ(config.devices[1].present, 0);
}

TEST_F(DeviceSettingsStoreTest, NothingStoredIsNothingAndStoredValuesCountOnlyWithinTheirRange) {
    config.useEditTerminal = true;
    config.playerId = 4;
    devices.LoadSelectionAndDevices(config);
    EXPECT_EQ(config.port, 0);
    EXPECT_EQ(config.playerId, 0);
    EXPECT_FALSE(config.useEditTerminal);
    EXPECT_TRUE(config.devices.empty());

    // The edit terminal is on for exactly 1.
    for (int stored : {1, 2, -1, 0}) {
        store.WriteInt("INIT", "fUseEdit", stored);
        devices.LoadSelectionAndDevices(config);
        EXPECT_EQ(config.useEditTerminal, stored == 1) << stored;
    }
    // A device count beyond the list is cut, a negative one is an empty list.
    store.WriteInt("INIT", "DEVICES", 250);
    devices.LoadSelectionAndDevices(config);
    EXPECT_EQ(config.devices.size(), static_cast<size_t>(DeviceConfig::kMaxDevices));
    store.WriteInt("INIT", "DEVICES", -3);
    devices.LoadSelectionAndDevices(config);
    EXPECT_TRUE(config.devices.empty());
}

TEST_F(DeviceSettingsStoreTest, StartValuesComeFromTheSettingsFileWithCameraAsDefaultCategory) {
    store.WriteInt("INIT", "CODE", 999);
    store.WriteInt("INIT", "Category", 1);
    devices.LoadStartValues(config);
    EXPECT_EQ(config.modelCode, 0);
    EXPECT_EQ(config.category, 7);

    settings.WriteInteger(settings_keys::kCode, 530);
    settings.WriteInteger(settings_keys::kCategory, 1);
    devices.LoadStartValues(config);
    EXPECT_EQ(config.modelCode, 530);
    EXPECT_EQ(config.category, 1);
    settings.WriteInteger(settings_keys::kCategory, 0);
    devices.LoadStartValues(config);
    EXPECT_EQ(config.category, 7);
}

TEST_F(DeviceSettingsStoreTest, TheSelectionIsStoredWithThePortActuallyOpen) {
    config.port = 3;
    config.playerId = 1;
    config.recorderId = 2;
    config.useEditTerminal = false;
    config.modelCode = 530;
    config.category = 7;
    devices.StoreSelection(config, 0);
    int32_t value = -1;
    ASSERT_TRUE(store.ReadInt("INIT", "COM", &value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(store.ReadInt("INIT", "CODE", &value));
    EXPECT_EQ(value, 530);
    ASSERT_TRUE(store.ReadInt("INIT", "fUseEdit", &value));
    EXPECT_EQ(value, 0);
}

}  // namespace
