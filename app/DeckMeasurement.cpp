#include "app/DeckMeasurement.h"

#include "app/UserPrompts.h"
#include "config/CaptionTable.h"
#include "devices/DeviceConfig.h"
#include "engine/StopSignals.h"
#include "link/ReplyTarget.h"
#include "ui/TfrmWait.h"

DeckMeasurement::DeckMeasurement(TarnLink& link, Clock& clock, const DeviceConfig& devices,
                                 const CaptionTable& captions, UserPrompts& prompts,
                                 TfrmWait& progress)
    : link_(link),
      clock_(clock),
      devices_(devices),
      captions_(captions),
      prompts_(prompts),
      progress_(progress) {}

DeckMeasurement::~DeckMeasurement() {
    abandoned_ = true;
    if (worker_.joinable())
        worker_.join();
}

QString DeckMeasurement::Text(const char* key) const {
    return captions_.CaptionText(QLatin1String(key));
}

MeasuredOptions DeckMeasurement::OptionsFrom(const CalibrationResult& result) {
    return {result.recorderStart.Rounded(), result.recorderStop.Rounded(),
            result.playerPause.Rounded(), result.recorderPause.Rounded()};
}

void DeckMeasurement::Run(QWidget* dialog, const TfrmOption::FillFields& fill,
                          std::function<void()> ended) {
    const int player = devices_.playerId;
    // Through the edit terminal the recorder's counter cannot be read.
    const int recorder = devices_.useEditTerminal ? 0 : devices_.recorderId;
    if (player == 0) {
        prompts_.ShowWarning(dialog, Text("TI_MAIN"), Text("MSG_CALIB_NOPLAYER"));
        ended();
        return;
    }
    if (worker_.joinable() ||
        (recorder != 0 && !prompts_.AskYesNo(dialog, Text("TI_MAIN"), Text("MSG_CALIB_ASK")))) {
        ended();
        return;
    }
    Calibrate(player, recorder,
              [this, dialog = QPointer<QWidget>(dialog), playerOnly = recorder == 0, fill, ended](
                  CalibrationEnd end, const CalibrationResult& result) {
                  Report(dialog, playerOnly, end, result, fill);
                  ended();
              });
}

void DeckMeasurement::Report(QWidget* dialog, bool playerOnly, CalibrationEnd end,
                             const CalibrationResult& result, const TfrmOption::FillFields& fill) {
    const QString title = Text("TI_MAIN");
    if (end != CalibrationEnd::Measured) {
        QString failed = Text("MSG_CALIB_FAIL");
        if (end == CalibrationEnd::RecorderMayRecord)
            failed += '\n' + Text("MSG_RECMAYRECORD");
        prompts_.ShowWarning(dialog, title, failed);
        return;
    }
    if (!Accepted(dialog, result))
        return;
    // The message says the values are in the fields: they are, before it shows.
    fill(OptionsFrom(result));
    QString done = Text("MSG_CALIB_DONE");
    if (playerOnly)
        done += '\n' + Text("MSG_CALIB_NOREC");
    prompts_.ShowInformation(dialog, title, done);
}

bool DeckMeasurement::Accepted(QWidget* dialog, const CalibrationResult& result) {
    if (result.Steady())
        return true;
    return prompts_.AskYesNo(dialog, Text("TI_MAIN"),
                             Text("MSG_CALIB_UNSTEADY").arg(LatencyMeasure::kSteadySpreadFrames));
}

void DeckMeasurement::Calibrate(int playerId, int recorderId, Measured done) {
    auto calibration = std::make_shared<DeckCalibration>(link_, clock_, playerId, recorderId);
    calibration->SetTapeGuard(guard_);
    calibration->SetStopRequest([this] {
        return abandoned_.load() || progress_.StopRequested() || stopsignals::Pending();
    });
    ShowProgress(recorderId, *calibration);
    // The measurement waits on the link for every exchange: on its own thread, so that the GUI
    // thread never waits. Its end comes back as a queued call, to the progress window that
    // lives as long as this object.
    auto target = ReplyTarget::For(&progress_);
    worker_ = std::thread([this, calibration, target, done = std::move(done)] {
        CalibrationResult result;
        const CalibrationEnd end = calibration->Run(&result);
        target->Deliver([this, end, result, done] {
            worker_.join();
            progress_.CloseIfVisible();
            progress_.setWindowModality(progressModality_);
            done(end, result);
        });
    });
}

void DeckMeasurement::ShowProgress(int recorderId, DeckCalibration& calibration) {
    // The dialog that asked is modal: the progress window must be too, or its Stop could not
    // be pressed.
    progressModality_ = progress_.windowModality();
    progress_.setWindowModality(Qt::ApplicationModal);
    const QString title = Text("MB_TI_CALIB");
    // The window is titled with the operation; its text says what goes on.
    progress_.ShowDirect(Text("TI_CALIB"), true, true);
    // The calibration says what it measures at each trial (of the player's play and pause; the
    // recorder's record and rec-pause, and play and pause) and when it puts the recorder back:
    // the gauge counts those steps. Counted on the measuring thread only.
    const int steps =
        DeckCalibration::kTrials * (recorderId == 0 ? 1 : 3) + (recorderId == 0 ? 0 : 1);
    auto stepsBegun = std::make_shared<int>(0);
    progress_.PostRunProgress(title, 0);
    calibration.SetProgress([this, title, steps, stepsBegun](const QString&) {
        progress_.PostRunProgress(title, 100 * (*stepsBegun)++ / steps);
    });
}
