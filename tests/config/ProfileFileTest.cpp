#include "config/ProfileFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <optional>

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    void Put(const QByteArray& bytes) {
        QFile file(PathOf("test.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Contents() const {
        QFile file(PathOf("test.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    ProfileFile profile_{dir_.filePath("test.ini")};
};

TEST_F(ProfileFileTest, MissingFileReadsNothingAndFirstWriteCreatesIt) {
    EXPECT_FALSE(profile_.Read("Setup", "FrameMode"));
    ASSERT_TRUE(profile_.Write("Setup", "FrameMode", "2"));
    EXPECT_EQ(Contents(), "[Setup]\nFrameMode=2\n");
    EXPECT_EQ(profile_.Read("Setup", "FrameMode"), QString("2"));
}

TEST_F(ProfileFileTest, ReadsTakeTheFirstMatchInItsOwnSectionWithoutBlanksOrQuotes) {
    const struct {
        QByteArray file;
        const char* section;
        const char* key;
        std::optional<QString> value;
    } cases[] = {
        {"[setup]\nframemode=1\nFRAMEMODE=2\n[SETUP]\nFrameMode=3\n", "Setup", "FrameMode", "1"},
        {"Top=5\n[frmEDS]\nLeft=7\n[frmAvCtl]\nTop=9\n", "frmEDS", "Top", std::nullopt},
        {"Top=5\n[frmEDS]\nLeft=7\n[frmAvCtl]\nTop=9\n", "frmAvCtl", "Top", "9"},
        {"[D]\n  Program =  /home/a b/trip.cwf  \n", "D", "Program", "/home/a b/trip.cwf"},
        {"[D]\nQuoted=\" padded \"\n", "D", "Quoted", " padded "},
        {"[D]\nHalf=\"x\n", "D", "Half", "\"x"},
        {"[Setup]\n;FrameMode=2\n", "Setup", "FrameMode", std::nullopt},
        {"[Setup]\n;FrameMode=2\n", "Setup", ";FrameMode", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + c.key);
        Put(c.file);
        EXPECT_EQ(profile_.Read(c.section, c.key), c.value);
    }
}

TEST_F(ProfileFileTest, AWriteOrARemoveTakesTheFirstMatchWhateverItsCase) {
    Put("[setup]\nframemode=1\nFRAMEMODE=2\n[SETUP]\nFrameMode=3\n");
    ASSERT_TRUE(profile_.Write("SETUP", "FrameMode", "0"));
    EXPECT_EQ(Contents(), "[setup]\nframemode=0\nFRAMEMODE=2\n[SETUP]\nFrameMode=3\n");

    // Remove takes out only that key, and a key that is not there is no failure.
    Put("[INIT]\nID0=5\nID1=6\n");
    EXPECT_TRUE(profile_.Remove("init", "id0"));
    EXPECT_TRUE(profile_.Remove("INIT", "ID7"));
    EXPECT_EQ(Contents(), "[INIT]\nID1=6\n");
}

TEST_F(ProfileFileTest, WritesKeepCommentsUnknownLinesAndCrLfLineEnds) {
    Put("; written by hand\r\n[Setup]\r\nFrameMode=1\r\nnot a key line\r\n\r\n"
        "[Other]\r\n; keep me\r\nX=1\r\n");
    ASSERT_TRUE(profile_.Write("Setup", "VtrWindow", "1"));
    ASSERT_TRUE(profile_.Write("Setup", "FrameMode", "2"));
    ASSERT_TRUE(profile_.Write("New", "Key", "v"));
    EXPECT_EQ(Contents(),
              "; written by hand\r\n[Setup]\r\nFrameMode=2\r\nnot a key line\r\nVtrWindow=1\r\n"
              "\r\n[Other]\r\n; keep me\r\nX=1\r\n[New]\r\nKey=v\r\n");
}

TEST_F(ProfileFileTest, TextsThatWouldBreakTheFileAreRefusedAndTheFileIsKept) {
    Put("[A]\nk=1\n");
    EXPECT_FALSE(profile_.Write("A", "k", "two\nlines"));
    EXPECT_FALSE(profile_.Write("A", "k=x", "1"));
    EXPECT_FALSE(profile_.Write("A]", "k", "1"));
    EXPECT_FALSE(profile_.Write("A", "", "1"));
    EXPECT_FALSE(profile_.Write("A", ";k", "1"));
    // Several values go in together or not at all.
    EXPECT_FALSE(profile_.Write("A", {{"k", "2"}, {"m", "two\nlines"}}));
    EXPECT_EQ(Contents(), "[A]\nk=1\n");
    ASSERT_TRUE(profile_.Write("A", {{"k", "2"}, {"m", "3"}}));
    EXPECT_EQ(Contents(), "[A]\nk=2\nm=3\n");
}

TEST_F(ProfileFileTest, AWriteThatCannotReplaceTheFileFails) {
    ProfileFile nowhere(dir_.filePath("missing-folder/test.ini"));
    EXPECT_FALSE(nowhere.Write("A", "k", "1"));
    ProfileFile folder(dir_.path());
    EXPECT_FALSE(folder.Write("A", "k", "1"));
    EXPECT_FALSE(folder.Read("A", "k"));
}

TEST_F(ProfileFileTest, AnOlderFileInALegacyCodePageIsReadAndWrittenBackAsUtf8) {
    Put("[Directories]\nProgram=C:\\Vid\xe9os\\f\xeate.cwf\n");
    EXPECT_EQ(profile_.Read("Directories", "Program"), QString("C:\\Vidéos\\fête.cwf"));
    ASSERT_TRUE(profile_.Write("Setup", "FrameMode", "0"));
    EXPECT_EQ(
        Contents(),
        QString("[Directories]\nProgram=C:\\Vidéos\\fête.cwf\n[Setup]\nFrameMode=0\n").toUtf8());

    ProfileFile japanese(PathOf("test.ini"), kLanguageJapanese);
    Put("[Directories]\nProgram=\x83\x65\x81\x5b\x83\x76.cwf\n");  // "テープ.cwf" in Shift-JIS
    EXPECT_EQ(japanese.Read("Directories", "Program"), QString("テープ.cwf"));
}

}  // namespace
