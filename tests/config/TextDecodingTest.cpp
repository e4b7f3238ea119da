#include <gtest/gtest.h>

#include "config/TextDecoding.h"

namespace {

TEST(TextDecoding, ValidUtf8IsTakenAsItIs) {
    EXPECT_EQ(DecodeLegacyText(QByteArray("caf\xC3\xA9"), kLanguageEnglish), u"café");
    EXPECT_EQ(DecodeLegacyText(QByteArray("\xE6\x97\xA5"), kLanguageJapanese), u"日");
}

TEST(TextDecoding, ShiftJisForJapaneseAndWindows1252Otherwise) {
    // 0x93 0xFA is the Shift-JIS form of "日"; in Windows-1252 the same bytes are two symbols.
    const QByteArray sjis("\x93\xFA");
    EXPECT_EQ(DecodeLegacyText(sjis, kLanguageJapanese), u"日");
    EXPECT_EQ(DecodeLegacyText(sjis, kLanguageEnglish), u"\u201C\u00FA");
    EXPECT_EQ(DecodeLegacyText(QByteArray("caf\xE9"), kLanguageFrench), u"café");
}

}  // namespace
