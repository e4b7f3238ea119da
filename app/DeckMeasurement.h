// Measure... of the options dialog: the deck calibration of the chosen player and recorder, run
// under the progress window. It asks first when the recorder is to be measured (the recorder
// records a few seconds where it stands and is put back), runs the measurement on a thread of
// its own so that the progress window's Stop stays usable, and puts what it found into the
// dialog's fields before it tells the user they are there. Unsteady measurements (trials that
// disagree by more than two frames) go into the fields only when the user says so. Only the
// player is measured when the edit terminal records or no recorder is chosen, and the user is
// told so.
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

    // GUI thread. dialog: the window the questions and messages belong to; fill puts the
    // values into its fields. Fills nothing when the user declined, Stop was pressed, a deck
    // failed, or the measurements were unsteady and the user did not want them.
    void Run(QWidget* dialog, const TfrmOption::FillFields& fill);

    // The option values a calibration gives; what it did not measure stays empty.
    static MeasuredOptions OptionsFrom(const CalibrationResult& result);

private:
    bool Calibrate(int playerId, int recorderId, CalibrationResult* result);
    // Unsteady measurements are taken only when the user says so.
    bool Accepted(QWidget* dialog, const CalibrationResult& result);
    QString Text(const char* key) const;

    TarnLink& link_;
    Clock& clock_;
    const DeviceConfig& devices_;
    const CaptionTable& captions_;
    UserPrompts& prompts_;
    TfrmWait& progress_;
};
