#include "devices/SettingsPortResolver.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "link/CComm.h"

namespace {

TEST(SettingsPortResolverTest, PortsSectionNamesTheDeviceElseTheUsualOneAndThePortOpensIt) {
    QTemporaryDir dir;
    SettingsFile settings(dir.path());
    ASSERT_TRUE(settings.WriteString("ports", "com2", "/dev/ttyUSB0"));
    const SettingsPortResolver resolver(settings);
    EXPECT_EQ(resolver.DevicePath(2), "/dev/ttyUSB0");
    EXPECT_EQ(resolver.DevicePath(3), "/dev/ttyS2");
    // Each lookup reads the file, so a change made later is seen at the next open.
    ASSERT_TRUE(settings.WriteString("Ports", "COM3", "/dev/ttyACM0"));
    EXPECT_EQ(resolver.DevicePath(3), "/dev/ttyACM0");

    // A port opens the terminal the settings name.
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_TRUE(settings.WriteString("Ports", "COM1", QString::fromLocal8Bit(name)));
    CComm port;
    port.SetPortResolver(std::make_unique<SettingsPortResolver>(settings));
    EXPECT_TRUE(port.Open(1));
    EXPECT_EQ(port.PortNumber(), 1);
    port.Close();
    close(slave);
    close(master);
}

}  // namespace
