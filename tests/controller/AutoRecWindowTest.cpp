// A whole Auto Rec started by Space on the controller's Auto Rec key, with the engine's host in the
// windows and the real progress window as the program wires it: the progress window comes and
// goes, the windows behind it are usable again, the final message is the success text and Review
// becomes possible because the recorder moved. Stop on the progress window ends the run, and so
// does the window manager's close of it (Alt+F4): the windows never come back under a run. At a
// tape change the program's own box asks; Escape or its close button there is the user's Stop.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "ControllerFixture.h"
#include "EngineFixture.h"
#include "app/MessageBoxPrompts.h"
#include "controller/GuiEngineHost.h"
#include "controller/SkinKey.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "ui/TfrmWait.h"
#include "ui/WindowOwner.h"

namespace {

class AutoRecWindowTest : public ControllerFixture {
protected:
    void SetUp() override {
        simClock = std::make_shared<ScaledSimClock>(kSimTimeScale);
        ControllerFixture::SetUp();
        mainWindow = std::make_unique<QWidget>();
        // Above the main window without being its child, as in the program.
        progress = std::make_unique<TfrmWait>(captions);
        KeepAboveOwner(progress.get(), mainWindow.get());
        progress->SetGuardedWindows(mainWindow.get(), ctl.get());
        progress->installEventFilter(&showCounter);
        EngineHostWindows windows;
        windows.UseProgressWindow(*progress);
        windows.information = [this](const QString&, const QString& text) { messages << text; };
        windows.warning = [this](const QString&, const QString& text) { messages << text; };
        windows.options = [] { return AutoOptions{}; };
        windows.confirmTapeChange = [this](const QString& title, const QString& text) {
            return boxes.AskOkOrStop(mainWindow.get(), title, text,
                                     captions.CaptionText(QStringLiteral("BTN_STOP")));
        };
        windows.keepResumePoint = [this](const ResumePoint& point) { kept = point; };
        effects = std::make_unique<EffectUnit>(*link);
        host = std::make_unique<GuiEngineHost>(*ctl, scenes, *devices, *sounds, windows);
        host->SetMainWindow(mainWindow.get());
        ctl->SetMainWindow(mainWindow.get());
        engine = std::make_unique<AutoEngine>(*link, *vtr, *effects, clock, captions, *host);
        ctl->SetOperations([this](AutoKind kind) { engine->AutoStart(kind); },
                           [this] { engine->ReadRecorderPosition(); });
        QObject::connect(engine.get(), &AutoEngine::finished,
                         [this](AutoResult result) { finishedResult = result; });
        mainWindow->show();
        ctl->show();
        ASSERT_TRUE(WaitFor([&] { return ctl->remote().transportOn() && vtr->PowerOn(); }));
        // The PROGRAM keys are under their cover until the user opens it.
        QTest::mouseClick(ctl->picture(QStringLiteral("imgPgmCover")), Qt::LeftButton);
    }
    void TearDown() override {
        ctl->SetOperations({}, {});
        engine.reset();
        host.reset();
        ControllerFixture::TearDown();
        effects.reset();
        progress.reset();
        mainWindow.reset();
    }

    // Counts the progress window's shows.
    struct ShowCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            shows += event->type() == QEvent::Show ? 1 : 0;
            return false;
        }
        int shows = 0;
    };

    // Both windows the progress window holds disabled.
    bool WindowsDisabled() const { return !ctl->isEnabled() && !mainWindow->isEnabled(); }
    bool WindowsEnabled() const { return ctl->isEnabled() && mainWindow->isEnabled(); }

    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<TfrmWait> progress;
    ShowCounter showCounter;
    std::unique_ptr<EffectUnit> effects;
    std::unique_ptr<GuiEngineHost> host;
    std::unique_ptr<AutoEngine> engine;
    MessageBoxPrompts boxes;
    QStringList messages;
    ResumePoint kept;
    std::optional<AutoResult> finishedResult;
};

TEST_F(AutoRecWindowTest, AutoRecFromTheControllerRecordsTheListAndOffersReview) {
    AddScene("00:00:40:00", "00:00:42:00");
    AddScene("00:00:44:00", "00:00:45:15");
    scenes.SelectOnly(1);
    sim->SetDeckPosition(1, Frames("00:00:39:00"));
    SkinKey* autoRec = ctl->key(QStringLiteral("btnAutoRec"));
    SkinKey* review = ctl->key(QStringLiteral("btnReview"));
    ASSERT_TRUE(autoRec->isEnabled());
    EXPECT_FALSE(review->isEnabled());
    const int recorderStart = sim->Device(2)->position;

    bool sawDisabled = false, sawArrowLit = false;
    // Space on the key the keyboard is on.
    ctl->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ctl.get()));
    autoRec->setFocus(Qt::TabFocusReason);
    QTest::keyClick(autoRec, Qt::Key_Space);
    ASSERT_TRUE(WaitFor(
        [&] {
            sawDisabled = sawDisabled || (progress->isVisible() && WindowsDisabled());
            sawArrowLit = sawArrowLit || ctl->arrowLit();
            return finishedResult.has_value();
        },
        180000));
    EXPECT_EQ(finishedResult, AutoResult::Finished);
    EXPECT_EQ(showCounter.shows, 1);
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(sawArrowLit);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(WindowsEnabled());
    EXPECT_FALSE(ctl->programTimer().isActive());
    EXPECT_FALSE(ctl->arrowLit());
    EXPECT_EQ(messages, QStringList{captions.CaptionText(QStringLiteral("MSG_AUTOEND"))});
    EXPECT_TRUE(autoRec->isEnabled());
    EXPECT_TRUE(review->isEnabled());
    EXPECT_GT(sim->Device(2)->position, recorderStart);
    EXPECT_EQ(ctl->remote().view(), DeckRemote::View::Player);
    // Both scenes arrived on the recorder's tape.
    SKIP_WHERE_FRAMES_UNCHECKABLE();
    int recorded = 0;
    for (const auto& segment : sim->TapeSegments())
        recorded += segment.recTo - segment.recFrom;
    EXPECT_GT(recorded, 60 + 45 - 2 * kFrameTolerance);
}

TEST_F(AutoRecWindowTest, StopOrClosingTheProgressWindowEndsTheRunWithTheStopMessage) {
    AddScene("00:00:50:00", "00:00:55:00");
    // What the user does on the progress window: its Stop button, or the window manager's close
    // (Alt+F4, the title bar), which reaches the window as the platform's close request. The
    // Escape key is refused: the run goes on.
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Stop",
         [&] { QTest::mouseClick(progress->findChild<QPushButton*>("btnAbort"), Qt::LeftButton); }},
        {"close", [&] { progress->windowHandle()->close(); }},
    };
    for (const auto& [name, end] : ways) {
        SCOPED_TRACE(name);
        finishedResult.reset();
        messages.clear();
        sim->SetDeckPosition(1, Frames("00:00:45:00"));
        scenes.SelectOnly(1);
        QTest::mouseClick(ctl->key(QStringLiteral("btnAutoRec")), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return progress->isVisible(); }));
        QTest::keyClick(progress.get(), Qt::Key_Escape);
        EXPECT_TRUE(progress->isVisible());
        EXPECT_TRUE(WindowsDisabled());
        EXPECT_FALSE(progress->StopRequested());
        end();
        EXPECT_TRUE(progress->StopRequested());
        ASSERT_TRUE(WaitFor([&] { return finishedResult.has_value(); }, 60000));
        EXPECT_EQ(finishedResult, AutoResult::Stopped);
        const auto text = [this](const char* key) {
            return captions.CaptionText(QLatin1String(key));
        };
        EXPECT_EQ(messages, QStringList{text("MSG_AUTOSTOP") + '\n' +
                                        text("WHY_FMT1").arg(text("WHY_USER"))});
        EXPECT_FALSE(ctl->key(QStringLiteral("btnReview"))->isEnabled());
        EXPECT_FALSE(progress->isVisible());
        EXPECT_TRUE(WindowsEnabled());
    }
}

TEST_F(AutoRecWindowTest, EscapeOrClosingTheTapeChangeBoxIsTheUsersStop) {
    AddScene("00:00:40:00", "00:00:42:00");
    ASSERT_TRUE(scenes.AddRow(SceneList::RowKind::TapeChange));
    AddScene("00:00:46:00", "00:00:48:00");
    const std::vector<std::pair<const char*, std::function<void(QMessageBox*)>>> ways = {
        {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }},
        {"close", [](QMessageBox* box) { box->windowHandle()->close(); }},
    };
    for (const auto& [name, answer] : ways) {
        SCOPED_TRACE(name);
        finishedResult.reset();
        messages.clear();
        kept = {};
        sim->SetDeckPosition(1, Frames("00:00:39:00"));
        scenes.SelectOnly(1);
        // The box runs its own loop: a timer answers it once it is up.
        QString asked;
        QStringList buttons;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            answerer.stop();
            asked = box->text();
            for (const QAbstractButton* button : box->buttons())
                buttons << button->text();
            answer(box);
        });
        answerer.start(50);
        QTest::mouseClick(ctl->key(QStringLiteral("btnAutoRec")), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return finishedResult.has_value(); }, 180000));

        EXPECT_EQ(finishedResult, AutoResult::Stopped);
        EXPECT_TRUE(asked.endsWith("Next: tape 2")) << asked.toStdString();
        EXPECT_TRUE(buttons.contains("Stop")) << buttons.join(',').toStdString();
        EXPECT_EQ(sim->Device(2)->mode, ModeRecordPause);
        EXPECT_EQ(sim->Device(1)->mode, ModeStop);
        EXPECT_EQ(kept.lastRow, 1) << "the scene before the tape change is on tape";
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(captions.CaptionText(QStringLiteral("MSG_AUTOSTOP"))));
        EXPECT_TRUE(WindowsEnabled());
    }
}

}  // namespace
