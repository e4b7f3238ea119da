#include "app/DeckMeasurement.h"

#include "engine/StopSignals.h"

#include <QEventLoop>
#include <thread>

#include "app/UserPrompts.h"
#include "config/CaptionTable.h"
#include "devices/DeviceConfig.h"
#include "engine/DeckCalibration.h"
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

QString DeckMeasurement::Text(const char* key) const {
    return captions_.CaptionText(QLatin1String(key));
}

MeasuredOptions DeckMeasurement::OptionsFrom(const CalibrationResult& result) {
    return {result.recorderStart.Rounded(), result.recorderStop.Rounded(),
            result.playerPause.Rounded(), result.recorderPause.Rounded()};
}

void DeckMeasurement::Run(QWidget* dialog, const TfrmOption::FillFields& fill) {
    const QString title = Text("TI_MAIN");
    const int player = devices_.playerId;
    // Through the edit terminal the recorder's counter cannot be read.
    const int recorder = devices_.useEditTerminal ? 0 : devices_.recorderId;
    if (player == 0) {
        prompts_.ShowWarning(dialog, title, Text("MSG_CALIB_NOPLAYER"));
        return;
    }
    if (recorder != 0 && !prompts_.AskYesNo(dialog, title, Text("MSG_CALIB_ASK")))
        return;
    CalibrationResult result;
    if (!Calibrate(player, recorder, &result)) {
        prompts_.ShowWarning(dialog, title, Text("MSG_CALIB_FAIL"));
        return;
    }
    if (!Accepted(dialog, result))
        return;
    // The message says the values are in the fields: they are, before it shows.
    fill(OptionsFrom(result));
    QString done = Text("MSG_CALIB_DONE");
    if (recorder == 0)
        done += '\n' + Text("MSG_CALIB_NOREC");
    prompts_.ShowInformation(dialog, title, done);
}

bool DeckMeasurement::Accepted(QWidget* dialog, const CalibrationResult& result) {
    if (result.Steady())
        return true;
    return prompts_.AskYesNo(dialog, Text("TI_MAIN"),
                             Text("MSG_CALIB_UNSTEADY").arg(LatencyMeasure::kSteadySpreadFrames));
}

bool DeckMeasurement::Calibrate(int playerId, int recorderId, CalibrationResult* result) {
    DeckCalibration calibration(link_, clock_, playerId, recorderId);
    calibration.SetStopRequest(
        [this] { return progress_.StopRequested() || stopsignals::Received() != 0; });
    // The dialog that asked is modal: the progress window must be too, or its Stop could not
    // be pressed.
    const Qt::WindowModality modality = progress_.windowModality();
    progress_.setWindowModality(Qt::ApplicationModal);
    const QString title = Text("MB_TI_CALIB");
    // The window is titled with the operation; its text says what goes on.
    progress_.ShowDirect(Text("TI_CALIB"), true, true);
    // The calibration says what it measures at each trial (of the player's play and pause; the
    // recorder's record and rec-pause, and play and pause) and when it puts the recorder back:
    // the gauge counts those steps.
    const int steps =
        DeckCalibration::kTrials * (recorderId == 0 ? 1 : 3) + (recorderId == 0 ? 0 : 1);
    int stepsBegun = 0;
    progress_.PostRunProgress(title, 0);
    calibration.SetProgress(
        [&](const QString&) { progress_.PostRunProgress(title, 100 * stepsBegun++ / steps); });
    // The measurement waits on the link for every exchange; off the GUI thread, so that the
    // windows keep answering (Stop above all) while it runs.
    QEventLoop waiting;
    bool measured = false;
    std::thread worker([&] {
        measured = calibration.Run(result) == CalibrationEnd::Measured;
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    waiting.exec();
    worker.join();
    progress_.CloseIfVisible();
    progress_.setWindowModality(modality);
    return measured;
}
