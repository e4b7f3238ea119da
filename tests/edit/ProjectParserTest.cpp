#include <gtest/gtest.h>

#include "edit/IsNumber.h"
#include "edit/ProjectParser.h"

namespace {

TEST(IsNumber, DigitsWithAnOptionalSign) {
    for (const char* yes : {"0", "007", "+5", "-12"})
        EXPECT_TRUE(IsNumber(QByteArrayView(yes))) << yes;
    for (const char* no : {"", "+", "-", " 1", "1 ", "1a", "--1", "0x1"}) {
        EXPECT_FALSE(IsNumber(QByteArrayView(no))) << no;
    }
    EXPECT_TRUE(IsNumber(u"-3"));
    EXPECT_FALSE(IsNumber(u"３"));  // a full-width digit is not a decimal digit here
}

TEST(GetField, LinesEndAtCrAndFirstColumnsKeepTheirTerminator) {
    const QByteArray data = "a\tb\r\ncc\tdd\tee\r\nlast";
    EXPECT_EQ(GetField(data, 1, 0), "a");
    EXPECT_EQ(GetField(data, 1, 1), "b");
    EXPECT_EQ(GetField(data, 2, 0), "cc\t");
    EXPECT_EQ(GetField(data, 2, 2), "ee");
    EXPECT_EQ(GetField(data, 3, 0), "last");
    EXPECT_EQ(GetField(data, 1, 2), "");
    EXPECT_EQ(GetField(data, 4, 0), "");
    EXPECT_EQ(GetField(data, 0, 0), "");
}

}  // namespace
