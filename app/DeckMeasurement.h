// Measure... of the options dialog: the deck calibration of the chosen player and recorder, run
// under the progress window. It asks first when the recorder is to be measured (the recorder
// records a few seconds where it stands and is put back), runs the measurement on a thread of
// its own so that the progress window's Stop stays usable, and turns what it found into the
// dialog's option values. Only the player is measured when the edit terminal records or no
// recorder is chosen, and the user is told so.
#pragma once

#include <optional>

#include "ui/TfrmOption.h"

class CaptionTable;
class Clock;
class QWidget;
class TarnLink;
class TfrmWait;
class UserPrompts;
struct CalibrationResult;
struct DeviceConfig;

class DeckMeasurement {
public:
    DeckMeasurement(TarnLink& link, Clock& clock, const DeviceConfig& devices,
                    const CaptionTable& captions, UserPrompts& prompts, TfrmWait& progress);

    // GUI thread. dialog: the window the questions and messages belong to. Nothing when the
    // user declined, Stop was pressed or a deck failed.
    std::optional<MeasuredOptions> Run(QWidget* dialog);

    // The option values a calibration gives; what it did not measure stays empty.
    static MeasuredOptions OptionsFrom(const CalibrationResult& result);

private:
    bool Calibrate(int playerId, int recorderId, CalibrationResult* result);
    QString Text(const char* key) const;

    TarnLink& link_;
    Clock& clock_;
    const DeviceConfig& devices_;
    const CaptionTable& captions_;
    UserPrompts& prompts_;
    TfrmWait& progress_;
};
