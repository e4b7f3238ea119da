#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "devices/CTarnReg.h"

namespace {

class CTarnRegTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    CTarnReg store{home.path()};
};

TEST_F(CTarnRegTest, FirstWriteCreatesTheStoreValuesReadBackAndADeleteTakesOnlyItsValue) {
    EXPECT_FALSE(QFile::exists(store.filePath()));
    ASSERT_TRUE(store.WriteInt("INIT", "CurID", 5));
    ASSERT_TRUE(store.WriteInt("INIT", "Category", -7));
    EXPECT_TRUE(QFile::exists(home.path() + "/Brenvik/Tarn.ini"));

    int32_t value = 0;
    ASSERT_TRUE(CTarnReg(home.path()).ReadInt("INIT", "CurID", &value));
    EXPECT_EQ(value, 5);
    ASSERT_TRUE(store.ReadInt("INIT", "Category", &value));
    EXPECT_EQ(value, -7);

    store.DeleteValue("INIT", "CurID");
    store.DeleteValue("INIT", "ID77");  // never written: nothing happens
    EXPECT_FALSE(store.ReadInt("INIT", "CurID", &value));
    EXPECT_TRUE(store.ReadInt("INIT", "Category", &value));
    EXPECT_EQ(value, -7);
}

TEST_F(CTarnRegTest, MissingOrMalformedValuesLeaveTheCallersVariableAlone) {
    int32_t value = 42;
    EXPECT_FALSE(store.ReadInt("INIT", "RecID", &value));
    EXPECT_EQ(value, 42);
    EXPECT_NE(store.lastStatus(), 0);

    QFile file(store.filePath());
    ASSERT_TRUE(store.WriteInt("INIT", "COM", 1));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("DEVICES=lots\nID0=99999999999\n");
    file.close();
    EXPECT_FALSE(store.ReadInt("INIT", "DEVICES", &value));
    EXPECT_FALSE(store.ReadInt("INIT", "ID0", &value));
    EXPECT_EQ(value, 42);
}

}  // namespace
