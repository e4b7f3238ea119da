// A whole Auto Rec started from the controller's Auto Rec key, with the engine's host in the
// windows: the progress window comes and goes, the windows are usable again, the final message
// is the success text and Review becomes possible because the recorder moved.
#include <QTest>

#include "ControllerFixture.h"
#include "EngineFixture.h"
#include "control/AutoEngine.h"
#include "control/EffectUnit.h"
#include "control/GuiEngineHost.h"
#include "control/SkinKey.h"

namespace {

class AutoRecWindowTest : public ControllerFixture {
protected:
    void SetUp() override {
        simClock = std::make_shared<ScaledSimClock>(kSimTimeScale);
        ControllerFixture::SetUp();
        progress = std::make_unique<QWidget>();
        EngineHostWindows windows;
        windows.showProgress = [this](const QString&, int) {
            ++progressShows;
            // As the progress window does: the windows behind it wait until it closes.
            ctl->setEnabled(false);
            progress->show();
        };
        windows.closeProgress = [this] {
            progress->hide();
            ctl->setEnabled(true);
        };
        windows.stopRequested = [this] { return stop.load(); };
        windows.information = [this](const QString&, const QString& text) { messages << text; };
        windows.warning = [this](const QString&, const QString& text) { messages << text; };
        windows.options = [] { return AutoOptions{}; };
        effects = std::make_unique<EffectUnit>(*link);
        host = std::make_unique<GuiEngineHost>(*ctl, scenes, *devices, *sounds, windows);
        engine = std::make_unique<AutoEngine>(*link, *vtr, *effects, clock, captions, *host);
        ctl->SetOperations([this](int kind) { engine->AutoStart(kind); },
                           [this] { engine->ReadRecorderPosition(); });
        QObject::connect(engine.get(), &AutoEngine::finished,
                         [this](int result) { finishedResult = result; });
        ctl->show();
        ASSERT_TRUE(WaitFor([&] { return ctl->transportOn() && vtr->PowerOn(); }));
    }
    void TearDown() override {
        ctl->SetOperations({}, {});
        engine.reset();
        host.reset();
        ControllerFixture::TearDown();
        effects.reset();
    }

    std::unique_ptr<QWidget> progress;
    std::unique_ptr<EffectUnit> effects;
    std::unique_ptr<GuiEngineHost> host;
    std::unique_ptr<AutoEngine> engine;
    std::atomic<bool> stop{false};
    int progressShows = 0;
    QStringList messages;
    int finishedResult = -1;
};

TEST_F(AutoRecWindowTest, AutoRecFromTheControllerRecordsTheListAndOffersReview) {
    scenes.AddRow(SceneList::RowKind::Scene);
    scenes.SetInText(1, QStringLiteral("00:00:40:00"));
    scenes.SetOutText(1, QStringLiteral("00:00:42:00"));
    scenes.AddRow(SceneList::RowKind::Scene);
    scenes.SetInText(2, QStringLiteral("00:00:44:00"));
    scenes.SetOutText(2, QStringLiteral("00:00:45:15"));
    scenes.SelectOnly(1);
    sim->SetDeckPosition(1, Frames("00:00:39:00"));
    SkinKey* autoRec = ctl->key(QStringLiteral("btnAutoRec"));
    SkinKey* review = ctl->key(QStringLiteral("btnReview"));
    ASSERT_TRUE(autoRec->isEnabled());
    EXPECT_FALSE(review->isEnabled());
    const int recorderStart = sim->Device(2)->position;

    bool sawDisabled = false, sawArrowLit = false;
    QTest::mouseClick(autoRec, Qt::LeftButton);
    ASSERT_TRUE(WaitFor(
        [&] {
            sawDisabled = sawDisabled || (progress->isVisible() && !ctl->isEnabled());
            sawArrowLit = sawArrowLit || ctl->arrowLit();
            return finishedResult >= 0;
        },
        180000));
    EXPECT_EQ(finishedResult, kAutoFinished);
    EXPECT_EQ(progressShows, 1);
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(sawArrowLit);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(ctl->isEnabled());
    EXPECT_FALSE(ctl->programTimer().isActive());
    EXPECT_FALSE(ctl->arrowLit());
    EXPECT_EQ(messages, QStringList{captions.CaptionText(QStringLiteral("MSG_AUTOEND"))});
    EXPECT_TRUE(autoRec->isEnabled());
    EXPECT_TRUE(review->isEnabled());
    EXPECT_GT(sim->Device(2)->position, recorderStart);
    EXPECT_EQ(ctl->view(), TfrmAvCtl::kPlayerView);
    // Both scenes arrived on the recorder's tape.
    int recorded = 0;
    for (const auto& segment : sim->TapeSegments())
        recorded += segment.recTo - segment.recFrom;
    EXPECT_GT(recorded, 60 + 45 - 2 * kFrameTolerance);
}

TEST_F(AutoRecWindowTest, StopDuringAutoRecEndsWithTheStopMessageAndNoReview) {
    scenes.AddRow(SceneList::RowKind::Scene);
    scenes.SetInText(1, QStringLiteral("00:00:50:00"));
    scenes.SetOutText(1, QStringLiteral("00:00:55:00"));
    QTest::mouseClick(ctl->key(QStringLiteral("btnAutoRec")), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return progress->isVisible(); }));
    stop = true;
    ASSERT_TRUE(WaitFor([&] { return finishedResult >= 0; }, 60000));
    EXPECT_EQ(finishedResult, kAutoStopped);
    EXPECT_EQ(messages, QStringList{captions.CaptionText(QStringLiteral("MSG_AUTOSTOP"))});
    EXPECT_FALSE(ctl->key(QStringLiteral("btnReview"))->isEnabled());
    EXPECT_TRUE(ctl->isEnabled());
}

}  // namespace
