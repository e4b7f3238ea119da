// The verification window over a report of an Auto Rec: what the table shows (figures,
// "recorder not readable", the resume mark, retaken scenes, a retake the run stopped in, frames a
// longer take left after the last scene, the advice), Copy and Save... (the same text; the
// overwrite question; a failed write), and storing the corrected out point in the options, offered
// only from enough measured scenes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "config/CaptionTable.h"
#include "config/EditOptions.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "edit/Timecode.h"
#include "engine/VerificationReport.h"
#include "ui/TfrmVerify.h"

namespace {

SceneCheck Readable(int row, int expected, int start, int end, bool resumed = false) {
    SceneCheck s;
    s.row = row;
    s.scene = row;  // a list without tape changes
    s.expectedFrames = expected;
    s.startPosition = start;
    s.endPosition = end;
    s.resumed = resumed;
    return s;
}

SceneCheck Unreadable(int row, int expected) {
    SceneCheck s;
    s.row = row;
    s.scene = row;
    s.expectedFrames = expected;
    return s;
}

class TfrmVerifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        captions.SelectLanguage(9);
        ASSERT_TRUE(captions.LoadCaptions(QApplication::applicationDirPath() + "/cw20.cpt"));
        options.LoadOptions(settings, 1);
        window = std::make_unique<TfrmVerify>(options, settings, captions);
        TfrmVerify::Prompts prompts;
        prompts.askYesNo = [this](QWidget*, const QString&, const QString& text) {
            questions << text;
            return answer;
        };
        prompts.warning = [this](QWidget*, const QString&, const QString& text) {
            warnings << text;
        };
        prompts.chooseSaveFile = [this](QWidget*, const QString&, const QString&) {
            return saveTo;
        };
        window->SetPrompts(prompts);
    }

    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = Grid()->item(row, column);
        return item ? item->text() : QString();
    }
    QTableWidget* Grid() const { return window->findChild<QTableWidget*>("grdScenes"); }
    QPushButton* Button(const char* name) const {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
    int32_t Stored(const SettingKey& key) const {
        int32_t value = -1;
        settings.ReadInteger(key, &value);
        return value;
    }

    QTemporaryDir home;
    SettingsFile settings{home.path()};
    CaptionTable captions;
    EditOptions options;
    std::unique_ptr<TfrmVerify> window;
    QStringList questions, warnings;
    bool answer = false;
    QString saveTo;
};

TEST_F(TfrmVerifyTest, TheTableShowsEachSceneTheUnreadableOnesWhereAResumedRunBeganAndTheRetakes) {
    // Rows 2 and 3 of a resumed run with the recorder read; row 5 through the edit terminal.
    window->ShowReport(VerificationReport(
        {Readable(2, 90, 3000, 3092, true), Readable(3, 45, 3092, 3136), Unreadable(5, 30)}, Fps30,
        10));
    ASSERT_TRUE(window->isVisible());
    ASSERT_EQ(Grid()->rowCount(), 4);
    EXPECT_EQ(Cell(0, 0), "Resumed here: the recorder stood at 00:01:40:00");
    EXPECT_EQ(Grid()->columnSpan(0, 0), VerificationTable::ColumnCount);
    // A resumed run's scenes keep their numbers in the whole list.
    const QStringList first{"2", "2", "90", "92", "+2", FramesToText(3092, Fps30)};
    for (int c = 0; c < first.size(); ++c)
        EXPECT_EQ(Cell(1, c), first[c]) << c;
    EXPECT_EQ(Cell(2, VerificationTable::ColDifference), "-1");
    EXPECT_EQ(Cell(3, VerificationTable::ColExpected), "30");
    EXPECT_EQ(Cell(3, VerificationTable::ColRecorded), "recorder not readable (edit terminal)");
    // One scene long, one short: no correction to offer.
    EXPECT_FALSE(window->findChild<QLabel*>("lblAdvice")->isVisible());
    EXPECT_FALSE(Button("btnCorrect")->isVisible());

    // The next run's report replaces the table, spans and all.
    window->ShowReport(VerificationReport({Readable(1, 90, 900, 990)}, Fps30, 10));
    ASSERT_EQ(Grid()->rowCount(), 1);
    EXPECT_EQ(Grid()->columnSpan(0, 0), 1);
    EXPECT_EQ(Cell(0, VerificationTable::ColDifference), "0");

    // Retaken scenes: a sentence under each gives every take's error (a seam's after a slash);
    // one still off after its last retake is red.
    SceneCheck retaken = Readable(1, 90, 900, 990);
    retaken.earlierTakes = {{4, 0}};
    SceneCheck stillOff = Readable(2, 45, 990, 1037);
    stillOff.earlierTakes = {{4, 0}, {3, 2}};
    window->ShowReport(VerificationReport({retaken, stillOff}, Fps30, 10, {}, RetakeRule{2, 1}));
    ASSERT_EQ(Grid()->rowCount(), 4);
    EXPECT_EQ(Cell(1, VerificationTable::ColRecorded),
              "Recorded 2 times; each take off by +4, 0 frames");
    EXPECT_EQ(Cell(3, VerificationTable::ColRecorded),
              "Recorded 3 times; each take off by +4, +3/+2, +2 frames: still off after the last "
              "retake");
    EXPECT_NE(Grid()->item(0, 0)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(Grid()->item(2, 0)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(Grid()->item(3, VerificationTable::ColRecorded)->foreground().color(),
              QColor(Qt::red));

    // The last scene on a tape, exact on its second take, but its first ran 4 frames further (3
    // long, 1 late at its seam): those frames stay after it, in red; of a third take, the one
    // that ran furthest is named. A run stopped while a scene was recorded again says so.
    SceneCheck last = Readable(2, 45, 990, 1035);
    last.earlierTakes = {{3, 1}};
    last.endsItsTape = true;
    SceneCheck lastOnce = last;
    lastOnce.earlierTakes = {{-3, 0}, {2, -1}};
    SceneCheck stopped = Readable(3, 60, 1035, 1098);
    stopped.underRetake = true;
    window->ShowReport(
        VerificationReport({last, lastOnce, stopped}, Fps30, 10, {}, RetakeRule{2, 1}));
    ASSERT_EQ(Grid()->rowCount(), 8);
    EXPECT_EQ(Cell(0, VerificationTable::ColDifference), "0");
    EXPECT_EQ(Cell(2, VerificationTable::ColRecorded),
              "4 frames of take 1 remain after the last scene on the tape");
    EXPECT_EQ(Grid()->item(2, VerificationTable::ColRecorded)->foreground().color(),
              QColor(Qt::red));
    EXPECT_EQ(Cell(5, VerificationTable::ColRecorded),
              "1 frame of take 2 remains after the last scene on the tape");
    EXPECT_EQ(Cell(7, VerificationTable::ColRecorded),
              "The run stopped during retake 1: the tape holds this take, whole or in part");
}

TEST_F(TfrmVerifyTest, CopyAndSaveGiveTheTableAsTextAndAnExistingFileIsReplacedOnlyOnYes) {
    window->ShowReport(VerificationReport({Readable(1, 90, 900, 993), Readable(2, 60, 993, 1056),
                                           Readable(3, 60, 1056, 1119), Unreadable(4, 30)},
                                          Fps30, 10));
    Click("btnCopy");
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("Scene  Row  Expected (frames)")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QRegularExpression("^1 +1 +90 +93 +\\+3 +00:00:33:03$")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[4].endsWith("recorder not readable (edit terminal)"));
    EXPECT_TRUE(
        text.contains("3.0 frames longer on average, from 3 scenes: an out-point correction of 13"))
        << text.toStdString();

    saveTo = home.filePath("check.txt");
    Click("btnSave");
    QFile saved(saveTo);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), text);
    saved.close();
    EXPECT_TRUE(questions.isEmpty());

    // An existing file: asked first, and No keeps it.
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write("mine");
    saved.close();
    answer = false;
    Click("btnSave");
    ASSERT_EQ(questions.size(), 1);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "mine");
    saved.close();

    // A folder that does not exist: the user is told, nothing is claimed.
    saveTo = home.filePath("missing/check.txt");
    Click("btnSave");
    EXPECT_EQ(warnings, QStringList{captions.CaptionText("MSG_INPUT")});
}

TEST_F(TfrmVerifyTest, ACorrectionIsOfferedOnlyFromMeasuredScenesAndStoredOnlyAfterYes) {
    settings.WriteInteger(settings_keys::kInPoint, 47);
    options.LoadOptions(settings, 1);
    // Every scene two frames short: the recorder pauses sooner than the correction allows. But a
    // single take is no evidence, nor one a retake was recording over when the run stopped.
    const SceneCheck short1 = Readable(1, 90, 900, 988), short2 = Readable(2, 90, 988, 1076);
    SceneCheck short3 = Readable(3, 90, 1076, 1164);
    short3.underRetake = true;
    for (const std::vector<SceneCheck>& scenes :
         {std::vector<SceneCheck>{short1}, std::vector<SceneCheck>{short1, short2, short3}}) {
        window->ShowReport(VerificationReport(scenes, Fps30, 10));
        EXPECT_FALSE(Button("btnCorrect")->isVisible()) << scenes.size();
        EXPECT_FALSE(window->findChild<QLabel*>("lblAdvice")->isVisible()) << scenes.size();
    }
    short3.underRetake = false;
    window->ShowReport(VerificationReport({short1, short2, short3}, Fps30, 10));
    ASSERT_TRUE(Button("btnCorrect")->isVisible());
    EXPECT_TRUE(window->findChild<QLabel*>("lblAdvice")
                    ->text()
                    .contains("2.0 frames shorter on average, from 3 scenes"));

    answer = false;
    Click("btnCorrect");
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Store an out-point correction of 8 frames (now 10) in the options?");
    EXPECT_EQ(Stored(settings_keys::kOutPoint), -1);
    EXPECT_EQ(options.outCorrection(), 10);

    answer = true;
    Click("btnCorrect");
    EXPECT_EQ(Stored(settings_keys::kOutPoint), 8);
    EXPECT_EQ(options.outCorrection(), 8);
    EXPECT_EQ(Stored(settings_keys::kInPoint), 47) << "the in point stays as it was";
    EXPECT_FALSE(Button("btnCorrect")->isEnabled()) << "stored once";
}

}  // namespace
