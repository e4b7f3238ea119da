// The title window: which picture it shows, the splash that cannot be cut short and closes
// itself after its animation, and the about box with its OK button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "config/TextDecoding.h"
#include "ui/TfrmTitle.h"

namespace {

class TitleWindowTest : public ::testing::Test {
protected:
    TitleWindowTest()
        : folder(home.path(), {QApplication::applicationDirPath()}), settings(home.path()) {
        captions.SelectLanguage(kLanguageEnglish);
        captions.LoadCaptions(folder.SuppliedFile("cw20.cpt"));
    }

    // Runs the splash by its own handlers instead of waiting on its timers.
    static void RunSplash(TfrmTitle& title) {
        title.show();
        ASSERT_TRUE(title.timer1()->isActive());
        title.Timer1Timer();
        while (title.isVisible() && title.tickCount() < 100)
            title.Timer2Timer();
    }

    QTemporaryDir home;
    ProgramFolder folder;
    SettingsFile settings;
    CaptionTable captions;
};

}  // namespace

TEST_F(TitleWindowTest, JapaneseUsersGetTheirPictureOthersTheOemOneWhenTheSettingsSaySo) {
    EXPECT_EQ(TfrmTitle(captions, folder, settings).titlePicture(), TitlePicture::English);
    settings.WriteInteger(QStringLiteral("INIT"), QStringLiteral("OEM"), 1);
    EXPECT_EQ(TfrmTitle(captions, folder, settings).titlePicture(), TitlePicture::Oem);
    EXPECT_EQ(ChooseTitlePicture(kLanguageJapanese, 1), TitlePicture::Japanese);
    EXPECT_EQ(ChooseTitlePicture(kLanguageJapanese, 0), TitlePicture::Japanese);
    EXPECT_EQ(ChooseTitlePicture(kLanguageFrench, -3), TitlePicture::Oem);
}

TEST_F(TitleWindowTest, TheSplashIgnoresClicksAndEscapeAnimatesAndClosesItselfAfterTheLastTick) {
    TfrmTitle title(captions, folder, settings);
    title.show();
    EXPECT_EQ(title.height(), 280);
    EXPECT_EQ(title.width(), 480);
    // Clicks and Escape do nothing during the splash, before and while it animates.
    QTest::mouseClick(title.findChild<QWidget*>("imgTitle"), Qt::LeftButton);
    QTest::keyClick(title.okButton(), Qt::Key_Escape);
    EXPECT_TRUE(title.isVisible());
    title.Timer1Timer();
    EXPECT_FALSE(title.timer1()->isActive());
    EXPECT_TRUE(title.timer2()->isActive());

    title.Timer2Timer();  // the first tick
    QTest::mouseClick(title.findChild<QWidget*>("imgTitle"), Qt::LeftButton);
    title.reject();
    EXPECT_TRUE(title.isVisible());
    EXPECT_FALSE(title.close());

    QList<int> frames{title.pikaFrame()};
    for (int tick = 2; tick <= 43; ++tick) {
        title.Timer2Timer();
        frames << title.pikaFrame();
        ASSERT_TRUE(title.isVisible()) << tick;
    }
    QList<int> expected;
    for (int tick = 1; tick <= 43; ++tick) {
        static const int cycle[6] = {2, 3, 2, 1, 1, 1};
        expected << (tick < 13 ? 1 : tick <= 30 ? cycle[(tick - 13) % 6] : 1);
    }
    EXPECT_EQ(frames, expected);
    title.Timer2Timer();  // the 44th tick
    EXPECT_FALSE(title.isVisible());
    EXPECT_FALSE(title.timer2()->isActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TitleWindowTest, TheRealTimersCloseTheSplash) {
    TfrmTitle title(captions, folder, settings);
    QElapsedTimer clock;
    clock.start();
    title.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !title.isVisible(); }, 15000));
    // 55 ms plus 44 ticks of 80 ms; a loaded machine only makes it longer.
    EXPECT_GE(clock.elapsed(), 3000);
    EXPECT_EQ(title.tickCount(), 44);
}

TEST_F(TitleWindowTest, TheAboutBoxShowsOkCentredBelowThePictureAndOkEscapeOrAClickEndIt) {
    TfrmTitle title(captions, folder, settings);
    RunSplash(title);
    ASSERT_FALSE(title.isVisible());

    title.show();
    EXPECT_EQ(title.height(), 280 + 25 + 26);
    QPushButton* ok = title.okButton();
    EXPECT_TRUE(ok->isVisible());
    EXPECT_EQ(ok->mapTo(&title, QPoint(0, 0)).y(), 280 + 13);
    EXPECT_EQ(ok->height(), 25);
    EXPECT_EQ(ok->mapTo(&title, QPoint(0, 0)).x(), (480 - ok->width()) / 2);
    EXPECT_EQ(title.findChild<QLabel*>("lblVer")->text(), "2.0");
    EXPECT_EQ(title.findChild<QLabel*>("lblVerNum")->text(), "0100");
    const QLabel* licence = title.findChild<QLabel*>("lblLicence");
    EXPECT_EQ(licence->text(), "Licence GPL-3.0-or-later");
    EXPECT_TRUE(licence->toolTip().contains("GNU GPL version 3 or later"));
    EXPECT_GT(licence->mapTo(&title, QPoint(0, 0)).x(),
              ok->mapTo(&title, QPoint(0, 0)).x() + ok->width());
    QTest::keyClick(ok, Qt::Key_Escape);
    EXPECT_FALSE(title.isVisible());

    title.show();
    QTest::mouseClick(title.findChild<QWidget*>("lblVerNum"), Qt::LeftButton);
    EXPECT_FALSE(title.isVisible());

    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([&] { return title.isVisible(); }));
        QTest::mouseClick(title.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(title.exec(), QDialog::Accepted);
}
