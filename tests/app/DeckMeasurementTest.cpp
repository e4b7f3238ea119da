// Measure... of the options dialog on a simulated bench whose latencies are far from the
// defaults: the question, the measurement under the progress window, the fields it fills before
// it says so, what OK and Cancel store, Stop from the (modal) progress window, the edit
// terminal's player-only measurement, and unsteady measurements taken only when the user wants
// them.
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "EngineFixture.h"
#include "LatencyBench.h"
#include "ScriptedPrompts.h"
#include "app/DeckMeasurement.h"
#include "config/EditOptions.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "devices/DeviceConfig.h"
#include "ui/TfrmOption.h"
#include "ui/TfrmWait.h"

namespace {

const BenchLatencies kTruth;
constexpr int kRecorderStart = 4000;

// Also notes the in-point field as each message box shows it.
class WatchingPrompts : public ScriptedPrompts {
public:
    std::function<int()> field;
    std::vector<int> fieldAtInformation;

    void ShowInformation(QWidget* parent, const QString& title, const QString& text) override {
        fieldAtInformation.push_back(field());
        ScriptedPrompts::ShowInformation(parent, title, text);
    }
};

class DeckMeasurementTest : public EngineFixture {
protected:
    void SetUp() override { Start(kTruth); }
    // The bench served, the dialog shown with Measure... wired as the program wires it.
    void Start(const BenchLatencies& truth) {
        ASSERT_NO_FATAL_FAILURE(Serve(LatencyBench(truth, 3000, kRecorderStart)));
        options.LoadOptions(settings, 1);
        devices.playerId = kPlayerId;
        devices.recorderId = kRecorderId;
        progress = std::make_unique<TfrmWait>(captions);
        measurement =
            std::make_unique<DeckMeasurement>(*link, clock, devices, captions, prompts, *progress);
        dialog = std::make_unique<TfrmOption>(options, settings, captions);
        dialog->SetMeasure([this](const TfrmOption::FillFields& fill, std::function<void()> ended) {
            measurement->Run(dialog.get(), fill, std::move(ended));
        });
        prompts.field = [this] { return Field("seIn"); };
        // As the main window's exec() shows it.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
    void TearDown() override {
        dialog.reset();
        EngineFixture::TearDown();
    }

    int Field(const char* name) const {
        return dialog->findChild<QSpinBox*>(QLatin1String(name))->value();
    }
    void Click(const char* name) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    // Measure... returns at once; until the measurement ends the dialog's keys wait.
    void Measure() {
        Click("btnMeasure");
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("btnOk"));
        QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 180000);
    }
    // The mode a deck ends in once its last command has settled.
    int SettledMode(int id) const {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Deck(id).busy; }, 5000));
        return Deck(id).mode;
    }
    bool Stored(const SettingKey& key, int32_t* value) const {
        return settings.ReadInteger(key, value);
    }

    QTemporaryDir home;
    SettingsFile settings{home.path()};
    EditOptions options;
    DeviceConfig devices;
    WatchingPrompts prompts;
    std::unique_ptr<TfrmWait> progress;
    std::unique_ptr<DeckMeasurement> measurement;
    std::unique_ptr<TfrmOption> dialog;
};

TEST_F(DeckMeasurementTest, MeasureFillsTheFieldsWithTheDecksLatenciesAndOkStoresThem) {
    prompts.answers = {true};
    Measure();
    ASSERT_EQ(prompts.questions.size(), 1) << "the recorder records: asked first";
    ASSERT_EQ(prompts.informations.size(), 1) << prompts.warnings.join('\n').toStdString();
    EXPECT_NEAR(Field("seIn"), kTruth.recorderRecord, kCalibrationToleranceFrames);
    EXPECT_EQ(prompts.fieldAtInformation, std::vector<int>{Field("seIn")})
        << "the message says the values are in the fields: they are, while it shows";
    EXPECT_NEAR(Field("seOut"), kTruth.recorderRecPause, kCalibrationToleranceFrames);
    EXPECT_NEAR(Field("sePlayerLead"), kTruth.playerPause, kCalibrationToleranceFrames);
    EXPECT_NEAR(Field("seRecorderLead"), kTruth.recorderPause, kCalibrationToleranceFrames);
    EXPECT_FALSE(progress->isVisible());
    // The recorder is back where it stood, waiting in rec-pause.
    EXPECT_EQ(Deck(kRecorderId).position, kRecorderStart);
    EXPECT_EQ(SettledMode(kRecorderId), ModeRecordPause);
    int32_t stored = 0;
    EXPECT_FALSE(Stored(settings_keys::kInPoint, &stored)) << "nothing stored before OK";

    const int in = Field("seIn"), out = Field("seOut");
    const int playerLead = Field("sePlayerLead"), recorderLead = Field("seRecorderLead");
    Click("btnOk");
    ASSERT_TRUE(Stored(settings_keys::kInPoint, &stored));
    EXPECT_EQ(stored, in);
    ASSERT_TRUE(Stored(settings_keys::kOutPoint, &stored));
    EXPECT_EQ(stored, out);
    ASSERT_TRUE(Stored(settings_keys::kPlayerPauseLead, &stored));
    EXPECT_EQ(stored, playerLead);
    ASSERT_TRUE(Stored(settings_keys::kRecorderPauseLead, &stored));
    EXPECT_EQ(stored, recorderLead);
    EXPECT_EQ(options.inCorrection(), in);
    EXPECT_EQ(options.recorderPauseLead(), recorderLead);
}

TEST_F(DeckMeasurementTest, NoDeclinesAndStopOnTheProgressWindowEndsItCancelStoresNothing) {
    const int before = Field("seIn");
    prompts.answers = {false};
    Measure();
    EXPECT_EQ(SentTo(kRecorderId), 0) << "declined: the recorder was left alone";

    // Stop pressed as the user presses it: through the window system, which refuses input to
    // windows behind a modal one.
    prompts.answers = {true};
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (!progress->isVisible() || Deck(kRecorderId).mode != ModeRecord)
            return;
        auto* stop = progress->findChild<QPushButton*>(QStringLiteral("btnAbort"));
        QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {},
                          stop->mapTo(progress.get(), stop->rect().center()));
        stopper.stop();
    });
    stopper.start(5);
    Measure();
    EXPECT_FALSE(stopper.isActive()) << "Stop was never pressed";
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_EQ(prompts.warnings[0], captions.CaptionText("MSG_CALIB_FAIL"));
    EXPECT_EQ(Field("seIn"), before);
    EXPECT_EQ(SettledMode(kRecorderId), ModeRecordPause) << "left in rec-pause where it stands";

    Click("btnCancel");
    int32_t stored = 0;
    EXPECT_FALSE(Stored(settings_keys::kInPoint, &stored));
    EXPECT_FALSE(Stored(settings_keys::kPlayerPauseLead, &stored));
}

TEST_F(DeckMeasurementTest, ThroughTheEditTerminalOnlyThePlayerIsMeasuredAndTheUserIsTold) {
    devices.recorderId = 0;
    devices.useEditTerminal = true;
    const int in = Field("seIn"), out = Field("seOut"), recorderLead = Field("seRecorderLead");
    Measure();
    EXPECT_TRUE(prompts.questions.isEmpty()) << "the player records nothing: no question";
    ASSERT_EQ(prompts.informations.size(), 1) << prompts.warnings.join('\n').toStdString();
    EXPECT_TRUE(prompts.informations[0].contains(captions.CaptionText("MSG_CALIB_NOREC")));
    EXPECT_NEAR(Field("sePlayerLead"), kTruth.playerPause, kCalibrationToleranceFrames);
    EXPECT_EQ(Field("seIn"), in);
    EXPECT_EQ(Field("seOut"), out);
    EXPECT_EQ(Field("seRecorderLead"), recorderLead);
    EXPECT_EQ(SentTo(kRecorderId), 0);
}

TEST_F(DeckMeasurementTest, UnsteadyMeasurementsGoIntoTheFieldsOnlyWhenTheUserSaysSo) {
    BenchLatencies varying = kTruth;
    varying.jitter = 12;
    dialog.reset();
    ReleasePort();
    sim->Stop();
    ASSERT_NO_FATAL_FAILURE(Start(varying));
    devices.recorderId = 0;
    const int lead = Field("sePlayerLead");

    prompts.answers = {false};
    Measure();
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0], captions.CaptionText("MSG_CALIB_UNSTEADY").arg(2));
    EXPECT_TRUE(prompts.informations.isEmpty());
    EXPECT_EQ(Field("sePlayerLead"), lead) << "No: the fields keep their values";

    prompts.answers = {true};
    Measure();
    ASSERT_EQ(prompts.questions.size(), 2);
    ASSERT_EQ(prompts.informations.size(), 1);
    EXPECT_NE(Field("sePlayerLead"), lead) << "Yes: the measured values are in the fields";
}

}  // namespace
