// Resume Auto Rec from the program's windows, the whole program on a simulated bench that is not
// the demo bench, recording from the very start of the recorder's tape: an Auto Rec stopped in
// its third scene offers the command, in the main window's Program menu and the controller's
// Program popup alike, and when the program is started again on the list it offers to resume,
// opens the controller and records the rest of the list; a list changed since, or a point damaged
// in the settings file, is refused with its message, and no deck moves.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "BenchProgram.h"
#include "EngineFixture.h"
#include "ScriptedPrompts.h"
#include "app/AppContext.h"
#include "app/ProgramWindows.h"
#include "config/SettingsFile.h"
#include "controller/SkinKey.h"
#include "engine/VerificationTable.h"

namespace {

constexpr int kScenes = 4;
constexpr int kSceneFrames = 90;

// Scene i (0-based) of the list: three seconds, ten seconds after the one before.
int InPoint(int i) {
    return Frames("00:01:20:00") + i * 300;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    return QTest::qWaitFor(done, timeoutMs);
}

class ResumeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        tarnsim::SimOptions options;
        options.pacing = kSimPacing;
        options.clock = std::make_shared<ScaledSimClock>(kSimTimeScale);
        std::string error;
        auto bench = tarnsim::Bench::FromJson(EngineBench(Frames("00:01:00:00"), 0), &error);
        ASSERT_TRUE(bench.has_value()) << error;
        sim = std::make_unique<tarnsim::Simulator>(*bench, options);
        ASSERT_TRUE(sim->Start(&error)) << error;
        WriteList();
    }
    void TearDown() override { CloseProgram(); }

    void WriteList() {
        QByteArray text =
            "TCMode\t001\r\nScenes\t005\r\nNo.\tInpoint\tOutPoint\tEffect\t"
            "Transition\tMemo\r\n000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\t"
            "Tape 1\r\n";
        for (int i = 0; i < kScenes; ++i)
            text += QStringLiteral("%1\t %2\t %3\t000\t000\t0\tscene\r\n")
                        .arg(i + 1, 3, 10, QChar(u'0'))
                        .arg(FramesToText(InPoint(i), Fps30),
                             FramesToText(InPoint(i) + kSceneFrames, Fps30))
                        .toLatin1();
        QFile file(ListPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString ListPath() const { return home.filePath(QStringLiteral("list.cwf")); }

    // Starts the program on the list, as the user would; the first start opens the controller.
    void StartProgram(bool firstStart) {
        context = std::make_unique<AppContext>(
            ProgramFolder(home.path(), {QApplication::applicationDirPath()}), 9, home.path());
        if (firstStart)
            ConfigureForBench(*context, QString::fromStdString(sim->SlavePath()));
        windows = std::make_unique<ProgramWindows>(*context, prompts, ListPath());
        windows->mainWindow().show();
        ASSERT_TRUE(WaitFor([&] { return windows->mainWindow().firstShowDone(); }));
        if (firstStart) {
            windows->mainWindow().OpenController();
            ASSERT_TRUE(WaitFor([&] { return Controller().remote().transportOn(); }));
        }
        QObject::connect(&windows->deck().engine(), &AutoEngine::finished,
                         [this](AutoResult result) { finished = result; });
    }
    // Closes the main window, answering its question to quit.
    void CloseProgram() {
        if (!windows)
            return;
        prompts.answers.push_back(false);  // do not save a changed list
        prompts.answers.push_back(true);   // quit
        windows->mainWindow().close();
        windows.reset();
        context.reset();
    }

    TfrmAvCtl& Controller() { return windows->deck().controller(); }
    QAction* ResumeItem() { return windows->mainWindow().menus().mnuResume; }
    // Whether the item is offered when `menu` opens.
    bool OfferedIn(QMenu* menu) {
        emit menu->aboutToShow();
        return menu->actions().contains(ResumeItem()) && ResumeItem()->isEnabled();
    }
    std::optional<AutoResult> WaitForFinish() {
        EXPECT_TRUE(WaitFor([&] { return finished.has_value(); }, 180000));
        return std::exchange(finished, std::nullopt);
    }

    // Auto Rec from the controller's key, stopped on the progress window a second into the
    // recording of the third scene.
    void StopInSceneThree() {
        context->scenes().SelectOnly(1);
        Controller().key(QStringLiteral("btnAutoRec"))->click();
        ASSERT_TRUE(WaitFor(
            [&] {
                return sim->Device(kRecorderId)->mode == ModeRecord &&
                       sim->Device(kPlayerId)->position > InPoint(2) + 30;
            },
            120000));
        QTest::mouseClick(windows->progress().findChild<QPushButton*>("btnAbort"), Qt::LeftButton);
        ASSERT_EQ(WaitForFinish(), AutoResult::Stopped);
        // The recorder's pause settles a little after the run has ended.
        ASSERT_TRUE(WaitFor([&] { return !sim->Device(kRecorderId)->busy; }));
        ASSERT_EQ(windows->deck().resumePoint().lastRow, 2);
    }

    QString Caption(const char* key) const { return context->Text(QLatin1String(key)); }

    QTemporaryDir home;
    std::unique_ptr<tarnsim::Simulator> sim;
    ScriptedPrompts prompts;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<ProgramWindows> windows;
    std::optional<AutoResult> finished;
};

TEST_F(ResumeWindowTest, AStoppedRunIsOfferedAtTheNextStartAndRecordsTheRest) {
    StartProgram(true);
    EXPECT_FALSE(OfferedIn(windows->mainWindow().menus().mnuProgram)) << "nothing to resume yet";
    StopInSceneThree();
    EXPECT_TRUE(OfferedIn(Controller().programMenu()));
    const auto before = RecordedScenes(sim->TapeSegments());
    ASSERT_EQ(before.size(), 3u) << "two scenes and the partial third\n" << sim->ReportJson();

    // The controller closed first is not opened again at the next start; the start on the list
    // asks whether to resume, and Yes does it.
    Controller().close();
    CloseProgram();
    const int questions = static_cast<int>(prompts.questions.size());
    prompts.answers.push_back(true);
    StartProgram(false);
    bool sawProgress = false;
    ASSERT_TRUE(WaitFor(
        [&] {
            sawProgress = sawProgress || windows->progress().isVisible();
            return finished.has_value();
        },
        180000));

    EXPECT_EQ(finished, AutoResult::Finished);
    ASSERT_EQ(prompts.questions.size(), questions + 1);
    EXPECT_EQ(prompts.questions.last(), Caption("MSG_RESUME_ASK"));
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(Controller().isVisible()) << "the command opened the controller";
    EXPECT_EQ(prompts.informations.last(), Caption("MSG_AUTOEND"));
    // Scenes 1 to 4 one after the other, the third recorded again from where the second ends.
    const auto recorded = RecordedScenes(sim->TapeSegments());
    ASSERT_EQ(recorded.size(), static_cast<size_t>(kScenes)) << sim->ReportJson();
    for (int i = 1; i < kScenes; ++i)
        EXPECT_EQ(recorded[i].recFrom, recorded[i - 1].recTo) << sim->ReportJson();
    EXPECT_EQ(recorded[1].recTo, before[1].recTo) << sim->ReportJson();
    // The verification window tells the resumed scenes by their numbers in the whole list.
    const auto* grid = windows->deck().verification().findChild<QTableWidget*>("grdScenes");
    ASSERT_NE(grid, nullptr);
    ASSERT_GE(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, VerificationTable::ColScene)->text(), "3");
    // Nothing is left to resume, and the keys are back as after any finished Auto Rec.
    EXPECT_TRUE(windows->deck().resumePoint().IsEmpty());
    EXPECT_FALSE(OfferedIn(windows->mainWindow().menus().mnuProgram));
    EXPECT_TRUE(Controller().key(QStringLiteral("btnAutoRec"))->isEnabled());
    EXPECT_TRUE(Controller().key(QStringLiteral("btnReview"))->isEnabled());

    SKIP_WHERE_FRAMES_UNCHECKABLE();
    for (int i = 0; i < kScenes; ++i) {
        EXPECT_LE(std::abs(recorded[i].srcFrom - InPoint(i)), kFrameTolerance) << i;
        EXPECT_LE(std::abs(recorded[i].srcTo - (InPoint(i) + kSceneFrames)), kFrameTolerance) << i;
    }
}

TEST_F(ResumeWindowTest, AListChangedSinceIsRefusedWithItsMessageAndNoDeckMoves) {
    StartProgram(true);
    StopInSceneThree();
    context->scenes().SetOutText(4, FramesToText(InPoint(3) + kSceneFrames + 1, Fps30));
    const std::string tape = sim->ReportJson();
    const tarnsim::DeviceState recorder = *sim->Device(kRecorderId);
    const tarnsim::DeviceState player = *sim->Device(kPlayerId);
    const int warnings = static_cast<int>(prompts.warnings.size());

    ASSERT_TRUE(OfferedIn(Controller().programMenu()));
    ResumeItem()->trigger();
    QTest::qWait(500);

    ASSERT_EQ(prompts.warnings.size(), warnings + 1);
    EXPECT_EQ(prompts.warnings.last(), Caption("MSG_RESUME_CHANGED"));
    EXPECT_FALSE(windows->progress().isVisible());
    EXPECT_FALSE(finished) << "no run began";
    EXPECT_EQ(sim->ReportJson(), tape);
    EXPECT_EQ(sim->Device(kRecorderId)->position, recorder.position);
    EXPECT_EQ(sim->Device(kRecorderId)->mode, recorder.mode);
    EXPECT_EQ(sim->Device(kPlayerId)->position, player.position);
    EXPECT_EQ(sim->Device(kPlayerId)->mode, player.mode);
    // The point stays: with the list as it was, the run can still go on.
    EXPECT_EQ(windows->deck().resumePoint().lastRow, 2);
    EXPECT_TRUE(Controller().key(QStringLiteral("btnAutoRec"))->isEnabled());

    // A point damaged in the settings file is offered, and refused naming its fault.
    CloseProgram();
    ASSERT_TRUE(SettingsFile(home.path()).WriteString(settings_keys::kResumeRow, "2147483647"));
    StartProgram(false);
    ASSERT_TRUE(OfferedIn(windows->mainWindow().menus().mnuProgram));
    ResumeItem()->trigger();
    ASSERT_TRUE(WaitFor([&] { return prompts.warnings.size() == warnings + 2; }));
    EXPECT_EQ(prompts.warnings.last(), Caption("MSG_RESUME_BAD").arg("Row=2147483647"));
    EXPECT_EQ(sim->ReportJson(), tape);
    EXPECT_FALSE(finished);
}

}  // namespace
