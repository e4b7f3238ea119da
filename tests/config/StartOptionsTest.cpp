#include "config/StartOptions.h"

#include <gtest/gtest.h>

#include "config/UserLanguage.h"

namespace {

TEST(StartOptionsTest, TakesHomeAndLanguageInBothFormsAndKeepsTheRestInOrder) {
    const StartOptions options =
        ParseStartOptions({"--home", "/tmp/cw", "trip.cwf", "--language=17", "-x"});
    EXPECT_TRUE(options.error.isEmpty());
    EXPECT_EQ(options.home, "/tmp/cw");
    EXPECT_EQ(options.language, 17);
    EXPECT_EQ(options.arguments, QStringList({"trip.cwf", "-x"}));

    const StartOptions other = ParseStartOptions({"--home=/a", "list", "--", "--language", "9"});
    EXPECT_EQ(other.home, "/a");
    EXPECT_FALSE(other.language);
    EXPECT_EQ(other.arguments, QStringList({"list", "--language", "9"}));
}

TEST(StartOptionsTest, RefusesMissingOrUnknownValues) {
    EXPECT_FALSE(ParseStartOptions({"--language", "10"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--language", "ja"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--language"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--home"}).error.isEmpty());
    EXPECT_FALSE(ParseStartOptions({"--home="}).error.isEmpty());
    EXPECT_EQ(ParseStartOptions({"--language", "12"}).language, 12);
}

TEST(UserLanguageTest, JapaneseAndFrenchUsersGetTheirsEveryoneElseEnglishUnlessAsked) {
    EXPECT_EQ(LanguageForLocale(QLocale(QLocale::Japanese, QLocale::Japan)), 17);
    EXPECT_EQ(LanguageForLocale(QLocale(QLocale::French, QLocale::Canada)), 12);
    EXPECT_EQ(LanguageForLocale(QLocale(QLocale::German, QLocale::Germany)), 9);
    EXPECT_EQ(LanguageForLocale(QLocale(QLocale::English, QLocale::UnitedStates)), 9);
    EXPECT_EQ(ChooseLanguage(12, QLocale(QLocale::Japanese)), 12);
    EXPECT_EQ(ChooseLanguage(std::nullopt, QLocale(QLocale::Japanese)), 17);
}

}  // namespace
