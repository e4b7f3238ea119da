#include <gtest/gtest.h>

#include <numeric>

#include "edit/Timecode.h"

namespace {

// The frames a text counts, or -12345 when it is refused.
int32_t Parse(const QString& text, uint32_t mode) {
    Timecode tc;
    tc.mode = mode;
    tc.text = text;
    int32_t frames = -12345;
    TimecodeFromText(tc, &frames);
    return frames;
}

TEST(Timecode, CountsAndTextsConvertBothWaysInEachModeAndNeverBelowZero) {
    const struct {
        uint32_t mode;
        int32_t frames;
        const char* text;
    } cases[] = {
        {Fps25, 25, "00:00:01:00"},
        {Fps25, 749, "00:00:29:24"},
        {Fps25, 90000, "01:00:00:00"},
        {Fps25, 25 * 3600 * 25, "25:00:00:00"},  // no wrap at 24 hours
        {Fps30, 1799, "00:00:59:29"},
        {Fps30, 1800, "00:01:00:00"},
        {Fps30, 108000, "01:00:00:00"},
        {7, 108000, "01:00:00:00"},  // an unknown mode counts like 30 non-drop
        // Drop-frame skips the first two frame labels of every minute but the tenth.
        {Fps30Drop, 1799, "00:00:59.29"},
        {Fps30Drop, 1800, "00:01:00.02"},
        {Fps30Drop, 17981, "00:09:59.29"},
        {Fps30Drop, 17982, "00:10:00.00"},
        {Fps30Drop, 107892, "01:00:00.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FramesToText(c.frames, c.mode), c.text);
        EXPECT_EQ(Parse(c.text, c.mode), c.frames);
    }
    EXPECT_EQ(FramesPerSecond(3), 30);
    // Negative counts show as zero; the drop-frame mark stays before the frames of long hours.
    EXPECT_EQ(FramesToText(-1, Fps25), "00:00:00:00");
    EXPECT_EQ(FramesToText(-160, Fps30), "00:00:00:00");
    EXPECT_EQ(FramesToText(-5, Fps30Drop), "00:00:00.00");
    Timecode longHours;
    longHours.mode = Fps30Drop;
    longHours.hours = 123;
    TimecodeToText(longHours);
    EXPECT_EQ(longHours.text, "123:00:00.00");
    // Thirty seconds is the earliest editable point.
    EXPECT_FALSE(IsAtLeast30s(749, Fps25));
    EXPECT_TRUE(IsAtLeast30s(750, Fps25));
    EXPECT_FALSE(IsAtLeast30s(899, Fps30));
    EXPECT_TRUE(IsAtLeast30s(900, Fps30));
    EXPECT_TRUE(IsAtLeast30s(900, Fps30Drop));
}

TEST(Timecode, EveryFrameOfTheFirstElevenMinutesAndTheHourBoundariesRoundTripInEachMode) {
    for (uint32_t mode : {Fps25, Fps30, Fps30Drop}) {
        std::vector<int32_t> counts(11 * 1800);
        std::iota(counts.begin(), counts.end(), 0);
        counts.insert(counts.end(), {89999, 90000, 107999, 108000, 2000000});
        for (int32_t n : counts) {
            Timecode tc;
            tc.mode = mode;
            FramesToText(n, tc);
            ASSERT_EQ(Parse(tc.text, mode), n) << mode << " " << tc.text.toStdString();
            ASSERT_LT(tc.frames, FramesPerSecond(mode));
            ASSERT_LT(tc.seconds, 60);
            ASSERT_LT(tc.minutes, 60);
        }
    }
}

TEST(Timecode, TextIsTakenAsWrittenOrRefusedLeavingEverythingAlone) {
    // A leading blank is allowed, and fields out of range are counted without normalising.
    EXPECT_EQ(Parse(" 00:00:10:00", Fps30), 300);
    EXPECT_EQ(Parse("00:75:00:40", Fps30), 75 * 1800 + 40);
    for (const char* refused : {"0:00:10:00", "000:00:10:00:", "00:0x:10:00"}) {
        Timecode tc;
        tc.mode = Fps30;
        tc.hours = 1;
        tc.text = refused;
        int32_t frames = 77;
        EXPECT_FALSE(TimecodeFromText(tc, &frames)) << refused;
        EXPECT_EQ(tc.hours, 1) << refused;
        EXPECT_EQ(frames, 77) << refused;
    }
}

}  // namespace
