#include "ui/WindowPositions.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include "config/SettingsFile.h"

namespace {

// A work area with a 30-pixel panel along the top of a 1280 x 1024 screen.
const QRect kWorkArea(0, 30, 1280, 994);

TEST(PlaceOnWorkArea, aCornerAboveOrLeftIsPulledOntoTheEdgeAndOneBelowOrRightHasNoPlace) {
    EXPECT_EQ(PlaceOnWorkArea(-50, 100, kWorkArea), QPoint(100, 30));
    EXPECT_EQ(PlaceOnWorkArea(10, 100, kWorkArea), QPoint(100, 30)) << "under the panel";
    EXPECT_EQ(PlaceOnWorkArea(200, -40, kWorkArea), QPoint(0, 200));
    // Below or right of it: no place.
    EXPECT_EQ(PlaceOnWorkArea(1024, 100, kWorkArea), std::nullopt);
    EXPECT_EQ(PlaceOnWorkArea(100, 1280, kWorkArea), std::nullopt);
    EXPECT_EQ(PlaceOnWorkArea(1023, 1279, kWorkArea), QPoint(1279, 1023))
        << "only the corner is tested: the rest of the window may lie off screen";
}

TEST(CentredOn, halvesRoundTowardZero) {
    EXPECT_EQ(CentredOn(QRect(0, 0, 1280, 1024), QSize(301, 201)), QPoint(489, 411));
    EXPECT_EQ(CentredOn(QRect(1280, 0, 800, 600), QSize(200, 100)), QPoint(1580, 250));
}

TEST(KeptWithin, aFrameReachingPastTheWorkAreaMovesInAsLittleAsItTakes) {
    const std::vector<std::pair<QRect, QPoint>> cases = {
        {QRect(100, 100, 300, 200), QPoint(100, 100)},   // inside: stays
        {QRect(1200, 900, 300, 200), QPoint(980, 824)},  // past the right and bottom edges
        {QRect(-20, 10, 300, 200), QPoint(0, 30)},       // left of it, under the panel
        {QRect(500, 500, 1400, 1100), QPoint(0, 30)},    // larger: its top-left corner shows
        {QRect(800, 455, 800, 560), QPoint(480, 455)},   // a help window on a smaller screen
    };
    for (const auto& [frame, expected] : cases)
        EXPECT_EQ(KeptWithin(frame, kWorkArea), expected) << frame.x() << "," << frame.y();
}

TEST(ClearOf, aWindowOverTheObstacleMovesBesideItWhereItFits) {
    const QRect controller(440, 300, 400, 300);
    const std::vector<std::pair<QRect, QPoint>> cases = {
        {QRect(10, 40, 252, 124), QPoint(10, 40)},      // clear of it: stays
        {QRect(514, 450, 252, 124), QPoint(513, 600)},  // over it: below, centred on it
        {QRect(514, 450, 252, 500), QPoint(840, 199)},  // too tall below and above: right
    };
    for (const auto& [frame, expected] : cases)
        EXPECT_EQ(ClearOf(frame, controller, kWorkArea), expected) << frame.y();
    // A controller filling the height: to its right.
    EXPECT_EQ(ClearOf(QRect(500, 400, 252, 124), QRect(200, 30, 400, 994), kWorkArea),
              QPoint(600, 464));
    // Room nowhere: beside it where the least of it is covered (here below, held on the area).
    EXPECT_EQ(ClearOf(QRect(440, 400, 400, 200), QRect(100, 100, 1080, 850), kWorkArea),
              QPoint(439, 824));
}

class WindowPositionsTest : public ::testing::Test {
protected:
    WindowPositionsTest() : settings_(home_.path()) {
        main_.setObjectName("frmEDS");
        dialog_.setObjectName("frmCrct");
        dialog_.setFixedSize(300, 200);
        screen_ = QGuiApplication::primaryScreen()->geometry();
    }

    void Store(const char* section, int top, int left, int width, int height) {
        settings_.WriteInteger(section, "Top", top);
        settings_.WriteInteger(section, "Left", left);
        settings_.WriteInteger(section, "Width", width);
        settings_.WriteInteger(section, "Height", height);
    }

    QTemporaryDir home_;
    SettingsFile settings_;
    QWidget main_;
    QWidget dialog_;
    QRect screen_;
};

TEST_F(WindowPositionsTest, firstRunCentresTheMainWindowAtHalfTheScreenAndDialogsAtTheirSize) {
    RestorePosition(&main_, settings_);
    const QSize half(screen_.width() / 2, screen_.height() / 2);
    EXPECT_EQ(main_.size(), half);
    EXPECT_EQ(main_.pos(), CentredOn(screen_, half));
    RestorePosition(&dialog_, settings_);
    EXPECT_EQ(dialog_.size(), QSize(300, 200));
    EXPECT_EQ(dialog_.pos(), CentredOn(screen_, QSize(300, 200)));
}

TEST_F(WindowPositionsTest, aFirstRunOpensTheControllerBesideTheMainWindowNotOverIt) {
    RestorePosition(&main_, settings_);
    main_.show();
    QWidget controller;
    controller.setObjectName("frmAvCtl");
    controller.setFixedSize(200, 120);
    RestorePositionBeside(&controller, &main_, settings_);
    EXPECT_FALSE(QRect(controller.pos(), controller.size()).intersects(main_.frameGeometry()));
    // Too wide for either side and too tall for above or below: the main window moves up to
    // make room, the window below it.
    dialog_.setFixedSize(screen_.width() * 3 / 4, screen_.height() / 3);
    RestorePositionBeside(&dialog_, &main_, settings_);
    EXPECT_FALSE(QRect(dialog_.pos(), dialog_.size()).intersects(main_.frameGeometry()));
    EXPECT_EQ(dialog_.y(), main_.frameGeometry().bottom() + 1);
    // Where the user left it, it comes back, over the main window or not.
    Store("frmAvCtl", main_.y() + 10, main_.x() + 10, 0, 0);
    RestorePositionBeside(&controller, &main_, settings_);
    EXPECT_EQ(controller.pos(), main_.pos() + QPoint(10, 10));
}

TEST_F(WindowPositionsTest, savedPositionsAndTheMainWindowsSizeComeBackButNotAFixedDialogsSize) {
    main_.setGeometry(35, 45, 500, 400);
    SavePosition(&main_, settings_);
    main_.setGeometry(0, 0, 100, 100);
    RestorePosition(&main_, settings_);
    EXPECT_EQ(main_.pos(), QPoint(35, 45));
    EXPECT_EQ(main_.size(), QSize(500, 400));
    // A fixed-size dialog takes its place but not the stored size.
    Store("frmCrct", 60, 70, 900, 900);
    RestorePosition(&dialog_, settings_);
    EXPECT_EQ(dialog_.pos(), QPoint(70, 60));
    EXPECT_EQ(dialog_.size(), QSize(300, 200));
}

TEST_F(WindowPositionsTest, aNegativeWidthATopBelowTheWorkAreaOrAMissingLeftCentreTheWindow) {
    Store("frmEDS", 60, 70, -1, 400);
    RestorePosition(&main_, settings_);
    EXPECT_EQ(main_.size(), QSize(screen_.width() / 2, screen_.height() / 2));
    EXPECT_EQ(main_.pos(), CentredOn(screen_, main_.size()));

    Store("frmCrct", screen_.bottom() + 10, 70, 0, 0);
    RestorePosition(&dialog_, settings_);
    EXPECT_EQ(dialog_.pos(), CentredOn(screen_, dialog_.size()));
    settings_.WriteString("frmCrct", "Left", "");
    settings_.WriteInteger("frmCrct", "Top", 5);
    dialog_.move(1, 1);
    RestorePosition(&dialog_, settings_);
    EXPECT_EQ(dialog_.pos(), CentredOn(screen_, dialog_.size()));
}

TEST_F(WindowPositionsTest, aWindowStoredReachingOffTheScreenComesBackWholeOnIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    Store("frmCrct", area.bottom() - 50, area.right() - 50, 0, 0);
    RestorePosition(&dialog_, settings_);
    EXPECT_EQ(dialog_.pos(), QPoint(area.right() + 1 - 300, area.bottom() + 1 - 200));
    // Saved on a larger screen: cut to this one's work area, and on it.
    Store("frmEDS", 10, 10, area.width() + 500, area.height() + 300);
    RestorePosition(&main_, settings_);
    EXPECT_EQ(main_.size(), area.size());
    EXPECT_EQ(main_.pos(), area.topLeft());
}

}  // namespace
