#include "config/SettingsFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "config/FrameModeSetting.h"
#include "config/SettingsReporter.h"
#include "config/StrictInteger.h"

namespace {

struct Report {
    QString file, section, key, text;
};

class RecordingReporter : public SettingsReporter {
public:
    void ReportMalformedInteger(const QString& file, const QString& section, const QString& key,
                                const QString& text) override {
        reports.push_back({file, section, key, text});
    }
    std::vector<Report> reports;
};

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { settings_.SetReporter(&reporter_); }

    void Put(const QByteArray& bytes) {
        QFile file(settings_.iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
    SettingsFile settings_{dir_.path()};
    RecordingReporter reporter_;
};

TEST_F(SettingsFileTest, MissingFileOrEmptyValuesLeaveTheDefaultsWithoutAReport) {
    EXPECT_EQ(settings_.iniPath(), dir_.filePath("cw20.ini"));
    for (const QByteArray& file :
         {QByteArray(), QByteArray("[Directories]\nProgram=\n[Setup]\nFrameMode=\n")}) {
        SCOPED_TRACE(file.toStdString());
        if (!file.isEmpty())
            Put(file);
        int32_t mode = 1;
        EXPECT_FALSE(settings_.ReadInteger(settings_keys::kFrameMode, &mode));
        EXPECT_EQ(mode, 1);
        QString program = "default";
        EXPECT_FALSE(settings_.ReadString(settings_keys::kProgram, &program));
        EXPECT_EQ(program, "default");
    }
    EXPECT_TRUE(reporter_.reports.empty());
}

TEST_F(SettingsFileTest, LongValuesAreCutTo254BytesOnACharacterBoundary) {
    ASSERT_TRUE(settings_.WriteString("Directories", "Program", QString(300, u'a')));
    QString value;
    ASSERT_TRUE(settings_.ReadString("Directories", "Program", &value));
    EXPECT_EQ(value, QString(254, u'a'));

    // 253 ASCII bytes then a three-byte character: the character does not fit and is dropped.
    ASSERT_TRUE(settings_.WriteString("Directories", "Program", QString(253, u'b') + "テ"));
    ASSERT_TRUE(settings_.ReadString("Directories", "Program", &value));
    EXPECT_EQ(value, QString(253, u'b'));
}

TEST_F(SettingsFileTest, IntegersAreWrittenAsPlainDecimalAndReadBack) {
    ASSERT_TRUE(settings_.WriteInteger(settings_keys::kInPoint, -42));
    ASSERT_TRUE(settings_.WriteInteger(settings_keys::kOutPoint, 7));
    QFile file(settings_.iniPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[Option]\nInPoint=-42\nOutPoint=7\n");
    int32_t value = 0;
    ASSERT_TRUE(settings_.ReadInteger("option", "inpoint", &value));
    EXPECT_EQ(value, -42);
}

TEST_F(SettingsFileTest, MalformedIntegersAreReportedAndTheDefaultStands) {
    Put("[Setup]\nFrameMode=abc\nVtrWindow=1x\n[INIT]\nCategory=0x10\nCODE=99999999999\n");
    int32_t mode = 0, window = 0, category = 7, code = 0;
    EXPECT_FALSE(settings_.ReadInteger(settings_keys::kFrameMode, &mode));
    EXPECT_FALSE(settings_.ReadInteger(settings_keys::kVtrWindow, &window));
    EXPECT_FALSE(settings_.ReadInteger(settings_keys::kCategory, &category));
    EXPECT_FALSE(settings_.ReadInteger(settings_keys::kCode, &code));
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(window, 0);
    EXPECT_EQ(category, 7);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(reporter_.reports.size(), 4u);
    EXPECT_EQ(reporter_.reports[0].file, settings_.iniPath());
    EXPECT_EQ(reporter_.reports[0].section, "Setup");
    EXPECT_EQ(reporter_.reports[0].key, "FrameMode");
    EXPECT_EQ(reporter_.reports[0].text, "abc");
    EXPECT_EQ(reporter_.reports[3].text, "99999999999");
    EXPECT_EQ(MalformedIntegerMessage("/p/cw20.ini", "Setup", "FrameMode", "abc"),
              "/p/cw20.ini: [Setup] FrameMode=abc is not a whole number; the default is used "
              "instead.");
}

TEST_F(SettingsFileTest, AFrameModeOutsideZeroToTwoIsReportedAndCountsAsThirtyFramesPerSecond) {
    EXPECT_EQ(ReadFrameModeSetting(settings_, reporter_), 0u);  // missing
    for (const char* value : {"0", "1", "2"}) {
        Put(QByteArray("[Setup]\nFrameMode=") + value + "\n");
        EXPECT_EQ(ReadFrameModeSetting(settings_, reporter_), QByteArray(value).toUInt());
    }
    EXPECT_TRUE(reporter_.reports.empty());
    for (const char* value : {"3", "-1", "25"}) {
        Put(QByteArray("[Setup]\nFrameMode=") + value + "\n");
        EXPECT_EQ(ReadFrameModeSetting(settings_, reporter_), 1u) << value;
        ASSERT_FALSE(reporter_.reports.empty());
        EXPECT_EQ(reporter_.reports.back().text, value);
    }
    EXPECT_EQ(reporter_.reports.size(), 3u);
}

TEST(StrictIntegerTest, AcceptsOnlyASignAndDecimalDigitsWithin32Bits) {
    EXPECT_EQ(ParseStrictInteger(u"0"), 0);
    EXPECT_EQ(ParseStrictInteger(u"+7"), 7);
    EXPECT_EQ(ParseStrictInteger(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseStrictInteger(u"2147483647"), INT32_MAX);
    EXPECT_EQ(ParseStrictInteger(u"007"), 7);
    for (const char16_t* bad :
         {u"", u"-", u"+", u"2147483648", u"-2147483649", u"1 2", u" 1", u"$10", u"0x10", u"1e3",
          u"12x", u"--1", u"１２", u"99999999999999999999999"}) {
        EXPECT_FALSE(ParseStrictInteger(bad)) << QString::fromUtf16(bad).toStdString();
    }
}

}  // namespace
