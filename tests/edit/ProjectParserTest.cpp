#include <gtest/gtest.h>

#include "common/FuzzBytes.h"
#include "config/TextDecoding.h"
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

// Random bytes and mutations of valid files: the readers must neither crash nor read outside
// their data (the suite runs under AddressSanitizer), and every accepted list must be valid.
TEST(ProjectParserFuzz, ArbitraryBytesNeverBreakTheReaders) {
    const QByteArray validProject =
        "TCMode\t000\r\nScenes\t003\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
        "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tTape\r\n"
        "001\t 00:01:00:00\t 00:01:10:00\t003\t105\t0\t\xE6\x97\xA5\r\n"
        "002\t 00:02:00:00\t 00:02:10:00\t000\t117\t0\tx\r\n";
    const QByteArray validLegacy =
        "Title\r\n00:01:00:00  00:01:10:00 \r\n00:02:00:00  00:02:10:00 \r\n";
    const QByteArray validFxd = "xxx003xx005x\r\nxxx001xx017x\r\nxxx002xx011x\r\n";
    const QByteArray alphabet("\t\r\n 0123456789:.-+x\xE6\x97\x93\xFA", 24);

    FuzzBytes fuzz(424242, alphabet);
    int accepted = 0;
    for (int round = 0; round < 6000; ++round) {
        const QByteArray project = round % 3 == 0 ? fuzz.Random(300) : fuzz.Mutated(validProject);
        const int language = round % 2 ? kLanguageJapanese : kLanguageEnglish;
        if (const auto rows = ParseProject(project, language)) {
            ++accepted;
            ASSERT_GE(rows->size(), 1u);
            ASSERT_LE(rows->size(), 100u);
            for (const Scene& row : *rows) {
                ASSERT_EQ(row.inText.size(), 11);
                ASSERT_GE(row.effect, 0);
                ASSERT_LT(row.effect, 6);
                ASSERT_GE(row.transition, 0);
                ASSERT_LT(row.transition, 118);
            }
        }
        LegacyProject legacy =
            ParseLegacy(round % 3 == 0 ? fuzz.Random(300) : fuzz.Mutated(validLegacy), language);
        ApplyLegacyEffects(round % 4 == 0 ? fuzz.Random(300) : fuzz.Mutated(validFxd), legacy);
        ASSERT_GE(legacy.rows.size(), 1u);
        ASSERT_LE(legacy.rows.size(), 100u);
        for (const Scene& row : legacy.rows) {
            ASSERT_GE(row.effect, 0);
            ASSERT_LE(row.effect, 5);
            ASSERT_TRUE(row.transition == 0 || (row.transition >= 100 && row.transition <= 117));
        }
        for (int probe = 0; probe < 4; ++probe)
            GetField(project, fuzz.Pick(-1, 12), fuzz.Pick(-1, 8));
    }
    EXPECT_GT(accepted, 0);  // the mutations must also produce files that pass the checks
}

}  // namespace
