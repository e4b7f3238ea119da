#include "ui/TfrmCrct.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "config/CaptionTable.h"
#include "config/SettingsFile.h"
#include "edit/SceneListFixtures.h"
#include "ui/EditHistory.h"
#include "ui/TimeSpinField.h"

namespace {

class TfrmCrctTest : public ::testing::Test {
protected:
    TfrmCrctTest() : settings_(home_.path()), dialog_(captions_, settings_) {
        captions_.SelectLanguage(9);
        captions_.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt");
    }
    ~TfrmCrctTest() override { dialog_.hide(); }

    void Show(const QString& in, const QString& out, uint32_t mode, bool tape = false) {
        dialog_.SetScene(in, out, "memo", tape, true, mode);
        dialog_.show();
    }

    TimeSpinField* Field(const char* name) {
        auto* field = dialog_.findChild<TimeSpinField*>(name);
        EXPECT_NE(field, nullptr) << name;
        return field;
    }
    QString Time(const char* prefix) {
        const QString p = QString::fromLatin1(prefix);
        QStringList parts;
        for (const char* part : {"H", "M", "S", "F"})
            parts << Field(qPrintable(p + part))->text();
        return parts.join(':');
    }
    // Replaces the field's value by typing, as a user would after selecting it.
    void Type(const char* name, const QString& digits) {
        TimeSpinField* field = Field(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, digits);
    }
    QPushButton* Ok() { return dialog_.findChild<QPushButton*>("btnOk"); }
    QCheckBox* TapeChange() { return dialog_.findChild<QCheckBox*>("cbTChange"); }
    // A click on the check box's square.
    void ClickTapeChange() {
        QTest::mouseClick(TapeChange(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(8, TapeChange()->height() / 2));
    }

    QTemporaryDir home_;
    CaptionTable captions_;
    SettingsFile settings_;
    TfrmCrct dialog_;
};

TEST_F(TfrmCrctTest, okNeedsAnInPointFromThirtySecondsOnAndBeforeTheOutPoint) {
    Show("00:00:30:00", "00:00:40:00", Fps30);
    Type("seInS", "29");
    Type("seInF", "29");
    EXPECT_EQ(Time("seDt"), "00:00:10:01");
    EXPECT_FALSE(Ok()->isEnabled()) << "00:00:29:29 is before 30 seconds";
    Type("seInS", "40");
    Type("seInF", "0");
    EXPECT_EQ(Time("seDt"), "00:00:00:00");
    EXPECT_FALSE(Ok()->isEnabled()) << "an empty scene";
    Type("seInS", "45");
    EXPECT_EQ(Time("seDt"), "00:00:00:00") << "an out point before the in point";
    EXPECT_FALSE(Ok()->isEnabled());
    Type("seOutM", "1");
    EXPECT_EQ(Time("seDt"), "00:00:55:00");
    EXPECT_TRUE(Ok()->isEnabled());
}

TEST_F(TfrmCrctTest, theDurationIsShownAndTypingOneMovesTheOutPointUpToTheLastHour) {
    Show("00:00:30:00", "00:00:40:00", Fps25);
    EXPECT_EQ(Time("seDt"), "00:00:10:00");
    EXPECT_TRUE(Ok()->isEnabled());
    EXPECT_EQ(dialog_.windowTitle(), "Scene Correction");
    EXPECT_EQ(dialog_.findChild<QLineEdit*>("edMemo")->text(), "memo");
    Type("seDtS", "0");
    Type("seDtM", "1");
    EXPECT_EQ(Time("seOut"), "00:01:30:00");
    EXPECT_EQ(Time("seIn"), "00:00:30:00");
    EXPECT_TRUE(Ok()->isEnabled());

    dialog_.hide();
    Show("59:59:59:00", "59:59:59:10", Fps25);
    ASSERT_TRUE(Ok()->isEnabled());
    Type("seDtS", "5");
    EXPECT_FALSE(Ok()->isEnabled()) << "the out point 60:00:04:00 cannot be written";
}

TEST_F(TfrmCrctTest, dropFrameMinutesStartAtFrameTwoExceptEveryTenthMinute) {
    Show("00:00:30:00", "00:20:00:00", Fps30Drop);
    Type("seInS", "0");
    Type("seInM", "1");
    EXPECT_EQ(Field("seInF")->value(), 2);
    Type("seInF", "0");
    EXPECT_EQ(Field("seInF")->value(), 2) << "frames 0 and 1 do not exist here";
    Type("seInM", "10");
    Type("seInF", "0");
    EXPECT_EQ(Field("seInF")->value(), 0);
    Type("seInM", "1");
    QTest::mouseClick(Ok(), Qt::LeftButton);
    ASSERT_TRUE(dialog_.accepted());
    EXPECT_EQ(dialog_.inText(), "00:01:00.02");
    EXPECT_EQ(dialog_.outText(), "00:20:00.00");
}

TEST_F(TfrmCrctTest, aDigitPastTheMaximumIsTypedOver) {
    Show("00:59:30:00", "01:00:00:00", Fps30);
    TimeSpinField* minutes = Field("seInM");
    minutes->setFocus();
    QTest::keyClick(minutes, Qt::Key_End);
    QTest::keyClick(minutes, Qt::Key_7);
    EXPECT_EQ(minutes->value(), 59) << "the first two digits remain";
    QTest::keyClick(minutes, Qt::Key_Home);
    QTest::keyClick(minutes, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(minutes->value(), 7) << "typed in front, the digit starts afresh";
    EXPECT_EQ(minutes->text(), "07");
    QTest::keyClick(minutes, Qt::Key_4);
    EXPECT_EQ(minutes->value(), 7) << "07 and 4 would be 74: the first two digits remain";
    Type("seInM", "5");
    QTest::keyClick(minutes, Qt::Key_End);
    QTest::keyClick(minutes, Qt::Key_3);
    EXPECT_EQ(minutes->value(), 53) << "within range, digits shift in from the right";
    EXPECT_EQ(minutes->text(), "53");
    EXPECT_EQ(Time("seDt"), "00:06:30:00");
}

TEST_F(TfrmCrctTest, framesStopAt24In25FrameModeAnd29Otherwise) {
    Show("00:00:30:00", "00:00:40:00", Fps25);
    EXPECT_EQ(Field("seInF")->maximum(), 24);
    EXPECT_EQ(Field("seDtF")->maximum(), 24);
    Type("seInF", "29");
    EXPECT_LE(Field("seInF")->value(), 24);
    dialog_.hide();
    Show("00:00:30:00", "00:00:40:00", Fps30);
    EXPECT_EQ(Field("seOutF")->maximum(), 29);
}

TEST_F(TfrmCrctTest, tapeChangeDisablesTheTimesAndAllowsOkUntilUnchecked) {
    Show("00:00:10:00", "00:00:05:00", Fps25);
    EXPECT_FALSE(Ok()->isEnabled());
    ClickTapeChange();
    EXPECT_TRUE(Ok()->isEnabled());
    EXPECT_FALSE(Field("seInH")->isEnabled());
    EXPECT_FALSE(Field("seDtF")->isEnabled());
    EXPECT_FALSE(dialog_.findChild<QWidget*>("lblDTime")->isEnabled());
    ClickTapeChange();
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_TRUE(Field("seOutS")->isEnabled());
}

TEST_F(TfrmCrctTest, modifyRowTakesTheDialogsValuesAndTheTapeChangeMarkOnOkOnly) {
    SceneList list(Fps25);
    FillScenes(list, 2);
    EditHistory history(list, captions_);
    QTimer::singleShot(0, &dialog_, [this] {
        EXPECT_TRUE(TapeChange()->isEnabled());
        Type("seOutS", "30");
        dialog_.findChild<QLineEdit*>("edMemo")->setText(QString(400, u'm'));
        QTest::mouseClick(Ok(), Qt::LeftButton);
    });
    ASSERT_TRUE(dialog_.ModifyRow(list, history, 2));
    EXPECT_EQ(list.row(2).outText, "00:01:30:00");
    EXPECT_EQ(list.row(2).durationText, "00:00:30:00");
    EXPECT_EQ(list.row(2).memo.size(), TfrmCrct::kMaxMemoCharacters);

    QTimer::singleShot(0, &dialog_, [this] {
        EXPECT_FALSE(TapeChange()->isEnabled()) << "row 0 stays the first tape's entry";
        dialog_.findChild<QPushButton*>("btnCancel")->click();
    });
    const Scene before = list.row(0);
    EXPECT_FALSE(dialog_.ModifyRow(list, history, 0));
    EXPECT_EQ(list.row(0).memo, before.memo);

    // Marking a row as a tape change hides its points in the list.
    QTimer::singleShot(0, &dialog_, [this] {
        ClickTapeChange();
        QTest::mouseClick(Ok(), Qt::LeftButton);
    });
    ASSERT_TRUE(dialog_.ModifyRow(list, history, 1));
    EXPECT_TRUE(list.row(1).tapeChange);
    EXPECT_TRUE(dialog_.tapeChange());
}

TEST_F(TfrmCrctTest, closingStoresThePositionAndTheNextShowingReturnsThere) {
    Show("00:00:30:00", "00:00:40:00", Fps25);
    dialog_.move(40, 70);
    dialog_.findChild<QPushButton*>("btnCancel")->click();
    int32_t top = 0;
    int32_t left = 0;
    ASSERT_TRUE(settings_.ReadInteger("frmCrct", "Top", &top));
    ASSERT_TRUE(settings_.ReadInteger("frmCrct", "Left", &left));
    EXPECT_EQ(QPoint(left, top), QPoint(40, 70));
    dialog_.move(300, 300);
    Show("00:00:30:00", "00:00:40:00", Fps25);
    EXPECT_EQ(dialog_.pos(), QPoint(40, 70));
    EXPECT_FALSE(dialog_.accepted());
}

}  // namespace
