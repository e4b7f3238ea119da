#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <atomic>
#include <thread>

#include "config/CaptionTable.h"
#include "ui/TfrmWait.h"

namespace {

class TfrmWaitTest : public ::testing::Test {
protected:
    TfrmWaitTest() {
        mainWindow.show();
        controller.show();
        wait.SetGuardedWindows(&mainWindow, &controller);
    }
    void Settle() { QCoreApplication::processEvents(); }
    QPushButton* Stop() { return wait.findChild<QPushButton*>(QStringLiteral("btnAbort")); }
    QWidget* GaugePanel() { return wait.findChild<QWidget*>(QStringLiteral("Panel1")); }

    CaptionTable captions;
    QWidget mainWindow;
    QWidget controller;
    TfrmWait wait{captions};
};

TEST_F(TfrmWaitTest, ClosingGivesBackExactlyTheEnabledStatesFoundAtShow) {
    controller.setEnabled(false);
    wait.PostShow(QStringLiteral("Auto Rec"), TfrmWait::kStopVisible);
    Settle();
    ASSERT_TRUE(wait.isVisible());
    EXPECT_FALSE(mainWindow.isEnabled());
    // A second show while showing must not take the states it caused itself.
    wait.PostShow(QString(), TfrmWait::kStopVisible | TfrmWait::kGaugeVisible);
    Settle();

    wait.PostClose();
    Settle();
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(controller.isEnabled()) << "a window disabled before the show stays disabled";

    // A close while hidden gives nothing back a second time.
    mainWindow.setEnabled(false);
    wait.CloseIfVisible();
    wait.PostClose();
    Settle();
    EXPECT_FALSE(mainWindow.isEnabled());
}

TEST_F(TfrmWaitTest,
       FlagsSetTitleStopAndGaugeANullTitleKeepsTheLastOneAndStopStaysDisabledUntilToldOrClosed) {
    wait.PostShow(QStringLiteral("Preview"), TfrmWait::kStopVisible | TfrmWait::kGaugeVisible);
    Settle();
    EXPECT_EQ(wait.windowTitle(), "Preview");
    EXPECT_TRUE(Stop()->isVisible());
    EXPECT_TRUE(GaugePanel()->isVisible());

    wait.SetGauge(60);
    wait.PostShow(QString(), TfrmWait::kGaugeVisible);
    Settle();
    EXPECT_EQ(wait.windowTitle(), "Preview");
    EXPECT_FALSE(Stop()->isVisible());
    EXPECT_EQ(wait.findChild<QProgressBar*>(QStringLiteral("Gauge1"))->value(), 0);

    wait.PostShow(QString(), 0);
    Settle();
    EXPECT_FALSE(GaugePanel()->isVisible());

    // Stop stays disabled until a show without the flag, or a close.
    wait.PostShow(QStringLiteral("Edit"), TfrmWait::kStopVisible | TfrmWait::kStopDisabled);
    Settle();
    EXPECT_FALSE(Stop()->isEnabled());
    wait.PostShow(QString(), TfrmWait::kStopVisible | TfrmWait::kStopDisabled);
    Settle();
    EXPECT_FALSE(Stop()->isEnabled());
    wait.PostShow(QString(), TfrmWait::kStopVisible);
    Settle();
    EXPECT_TRUE(Stop()->isEnabled());
    wait.PostShow(QString(), TfrmWait::kStopVisible | TfrmWait::kStopDisabled);
    wait.PostClose();
    Settle();
    EXPECT_TRUE(Stop()->isEnabled());
}

TEST_F(TfrmWaitTest, ARunsProgressReplacesTheWaitTextWholeUntilTheWindowCloses) {
    wait.PostShow(QStringLiteral("Montage automatique – Clipwright"), TfrmWait::kStopVisible);
    Settle();
    // The controller just below the window: a window grown by a line must not cover it.
    controller.setGeometry(wait.x(), wait.y() + wait.height() + 4, 300, 100);
    // The longest French progress: no digit of a timecode or a time may be cut.
    const QString text = QStringLiteral(
        "Scène 842 sur 842, reprise 5\nReste à enregistrer : 23:59:59:29\n"
        "Temps restant : environ 1439:59");
    wait.PostRunProgress(text, 17);
    Settle();
    auto* label = wait.findChild<QLabel*>(QStringLiteral("lblWait"));
    EXPECT_EQ(label->text(), text);
    for (const QString& line : text.split(u'\n'))
        EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width())
            << line.toStdString();
    EXPECT_LE(label->geometry().right(), wait.width());
    EXPECT_TRUE(GaugePanel()->isVisible());
    EXPECT_EQ(wait.findChild<QProgressBar*>(QStringLiteral("Gauge1"))->value(), 17);
    // The three lines fit above the gauge, and Stop below it inside the window.
    EXPECT_LE(label->y() + label->fontMetrics().lineSpacing() * 3, GaugePanel()->y());
    EXPECT_LE(Stop()->geometry().bottom(), wait.height());
    EXPECT_FALSE(wait.frameGeometry().intersects(controller.frameGeometry()));
    // A shorter line later does not make the window jump narrower while it shows.
    const int width = wait.width();
    wait.PostRunProgress(QStringLiteral("Scène 1 sur 2"), 50);
    Settle();
    EXPECT_EQ(wait.width(), width);
    wait.PostClose();
    Settle();
    EXPECT_EQ(label->text(), QStringLiteral("Please wait..."));
    wait.PostShow(QStringLiteral("Auto Rec"), 0);
    wait.PostClose();
    Settle();
    EXPECT_EQ(wait.size(), QSize(252, 96)) << "back to its designed size";
}

TEST_F(TfrmWaitTest, StopIsSeenFromAnotherThreadAndClearedByTheNextShow) {
    std::atomic<bool> seen{false};
    std::atomic<bool> quit{false};
    // The engine posts from the link thread and polls the stop request there.
    std::thread engine([&] {
        wait.PostShow(QStringLiteral("Auto Rec"), TfrmWait::kStopVisible);
        while (!quit && !seen) {
            seen = wait.StopRequested();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(wait.isVisible(), 5000);
    QTest::mouseClick(Stop(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(seen.load(), 5000);
    quit = true;
    engine.join();
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(mainWindow.isEnabled());

    wait.PostShow(QString(), TfrmWait::kStopVisible);
    Settle();
    EXPECT_FALSE(wait.StopRequested());
}

TEST_F(TfrmWaitTest, NeitherEscapeNorTheWindowManagersCloseEndAWaitWithoutStop) {
    wait.ShowDirect(QStringLiteral("Scan"), true, false);
    QTest::keyClick(&wait, Qt::Key_Escape);
    EXPECT_TRUE(wait.isVisible());
    wait.windowHandle()->close();
    EXPECT_TRUE(wait.isVisible());
    EXPECT_FALSE(mainWindow.isEnabled()) << "the windows stay held while the wait goes on";
    wait.CloseIfVisible();
    EXPECT_TRUE(mainWindow.isEnabled());
}

}  // namespace
