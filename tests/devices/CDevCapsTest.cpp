// The capability database with real files: the lookup chain and the availability answers.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "devices/CDevCaps.h"

namespace {

class CDevCapsTest : public ::testing::Test {
protected:
    void WriteFile(const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    // A player with id 1 of model 530 and the given category.
    void SelectModel530(int category) {
        caps.SetPlayerId(1);
        caps.SetModelCode(530);
        caps.SetCategory(category);
    }

    QTemporaryDir dir;
    QString path = dir.filePath("cw20dev.ini");
    CDevCaps caps{path};
};

constexpr CapabilityWords kAllRefused{-1, -1, -1, -1, -1, -1};
constexpr char kEverything[] = "yyyyyy yyyyyyyyyyyyyyyyyy";
constexpr char kNoneCodesOnly[] = "y----- y-----------------";

// What the player can do, a letter per code: effects 0 to 5, then transitions 100 to 117.
std::string Allowed(const CDevCaps& caps) {
    std::string codes;
    for (int e = 0; e <= 5; ++e)
        codes += caps.EffectAllowed(e) ? 'y' : '-';
    codes += ' ';
    for (int n = 100; n <= 117; ++n)
        codes += caps.TransitionAllowed(n) ? 'y' : '-';
    return codes;
}

// Which transitions from 100 to 117 may go with effect e.
std::string CompatibleWith(const CDevCaps& caps, int e) {
    std::string codes;
    for (int n = 100; n <= 117; ++n)
        codes += caps.Compatible(e, n) ? 'y' : '-';
    return codes;
}

TEST(CDevCapsModelCode, MakerBytesGiveTwoDigitsAndTheTensOfTheNext) {
    EXPECT_EQ(CDevCaps::ModelCodeFromMaker(5, 37), 530);
    EXPECT_EQ(CDevCaps::ModelCodeFromMaker(0, 9), 0);
    EXPECT_EQ(CDevCaps::ModelCodeFromMaker(12, 40), 1240);
    // A byte of 100 or more contributes three digits, as the text form does.
    EXPECT_EQ(CDevCaps::ModelCodeFromMaker(120, 255), 120250);

    CDevCaps caps{"unused"};
    caps.SetModelFromDevice(MakerBytes{0x42, 0x52, 0x00, 0x05, 0x25, 0x00});
    EXPECT_EQ(caps.ModelCode(), 530);
    caps.SetModelFromDevice(std::nullopt);
    EXPECT_EQ(caps.ModelCode(), 0);
}

TEST_F(CDevCapsTest, WordsAreReadAsBitsIncludingUnsignedForms) {
    // Transition 102 refused on its own, effect 3 refused, effect 1 refuses 117 beside it.
    WriteFile("[0530]\ndata00=4\nDATA01=131072\nDATA02=0\nDATA03=1\nDATA04=0\nDATA05=4294967295\n");
    SelectModel530(1);
    ASSERT_TRUE(caps.Load());
    EXPECT_EQ(caps.Words()[5], -1);
    EXPECT_EQ(Allowed(caps), "yyy-y- yy-yyyyyyyyyyyyyyy");
    EXPECT_EQ(CompatibleWith(caps, 1), "yy-yyyyyyyyyyyyyy-");
    EXPECT_EQ(CompatibleWith(caps, 2), "yy-yyyyyyyyyyyyyyy");  // word 0 refuses 102 with any
    EXPECT_TRUE(caps.Compatible(0, 102));
    EXPECT_TRUE(caps.Compatible(3, 0));
    // Codes without a word are nothing the device can do.
    EXPECT_FALSE(caps.EffectAllowed(6));
    EXPECT_FALSE(caps.Compatible(6, 101));
}

TEST_F(CDevCapsTest, BrokenEntriesFallBackAndLeaveNothingOfWhatWasRead) {
    // A -1 in DATA00 ends the lookup there; a non-camera then has nothing available.
    WriteFile("[0530]\nDATA00=-1\nDATA01=0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=0\n");
    SelectModel530(1);
    EXPECT_FALSE(caps.Load());
    EXPECT_EQ(caps.LastSource(), CDevCaps::Source::None);
    EXPECT_EQ(caps.Words(), kAllRefused);

    // A malformed DATA03 after three good words: those words are not kept either.
    WriteFile("[0530]\nDATA00=0\nDATA01=0\nDATA02=0\nDATA03=12x\nDATA04=0\nDATA05=0\n");
    EXPECT_FALSE(caps.Load());
    EXPECT_EQ(caps.Words(), kAllRefused);

    for (const char* broken : {"DATA03=", "DATA03=0x10", "DATA03=4294967296", "DATA03=+"}) {
        WriteFile(QByteArray("[0530]\nDATA00=0\nDATA01=0\nDATA02=0\n") + broken +
                  "\nDATA04=0\nDATA05=0\n");
        EXPECT_FALSE(caps.Load()) << broken;
        EXPECT_EQ(caps.Words(), kAllRefused) << broken;
    }
}

TEST_F(CDevCapsTest, AVideoCameraWithoutEntryOrAnswerGetsTheCameraDefaults) {
    WriteFile("[0999]\nDATA00=0\n");
    SelectModel530(CDevCaps::kCameraCategory);
    EXPECT_FALSE(caps.Load());
    EXPECT_EQ(caps.LastSource(), CDevCaps::Source::Defaults);
    EXPECT_EQ(caps.Words(), (CapabilityWords{0, 0x20004, 0, 0, 0x20004, 0}));
    EXPECT_EQ(Allowed(caps), kEverything);
    for (int e : {1, 4})
        EXPECT_EQ(CompatibleWith(caps, e), "yy-yyyyyyyyyyyyyy-") << e;
    EXPECT_EQ(CompatibleWith(caps, 2), "yyyyyyyyyyyyyyyyyy");
}

TEST_F(CDevCapsTest, WithAllWordsRefusedOnlyTheNoneCodesRemainUntilAFullEntryAllowsEverything) {
    SelectModel530(1);
    EXPECT_FALSE(caps.Load());  // no file at all
    EXPECT_EQ(caps.Words(), kAllRefused);
    EXPECT_EQ(Allowed(caps), kNoneCodesOnly);
    EXPECT_TRUE(caps.TransitionAllowed(200));
    EXPECT_TRUE(caps.TransitionAllowed(0));
    EXPECT_FALSE(caps.Compatible(1, 100));

    // Each lookup reads the file again: a full entry makes everything available.
    WriteFile("[0530]\nDATA00=0\nDATA01=+0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=0\n");
    EXPECT_TRUE(caps.Load());
    EXPECT_EQ(caps.LastSource(), CDevCaps::Source::File);
    EXPECT_EQ(caps.Words(), (CapabilityWords{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Allowed(caps), kEverything);
}

TEST_F(CDevCapsTest, WithoutAPlayerNothingButTheNoneCodesIsAllowed) {
    WriteFile("[0530]\nDATA00=0\nDATA01=0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=0\n");
    SelectModel530(1);
    ASSERT_TRUE(caps.Load());
    EXPECT_FALSE(caps.ApplyPlayerChoice(0, MakerBytes{0, 0, 0, 5, 37, 0}, 7));
    EXPECT_EQ(caps.ModelCode(), 0);
    EXPECT_EQ(caps.Category(), 0);
    EXPECT_EQ(Allowed(caps), kNoneCodesOnly);
    // Compatible does not look at the player: the words are still those of the last lookup.
    EXPECT_TRUE(caps.Compatible(2, 105));

    // Choosing the player again takes model and category from its record and reloads.
    EXPECT_TRUE(caps.ApplyPlayerChoice(4, MakerBytes{0, 0, 0, 5, 37, 0}, 7));
    EXPECT_EQ(caps.ModelCode(), 530);
    EXPECT_EQ(caps.Category(), 7);
    EXPECT_EQ(Allowed(caps), kEverything);
}

}  // namespace
