// Measure... of the options dialog: the deck calibration of the chosen player and recorder, run
// under the progress window. It asks first when the recorder is to be measured (the recorder
// records a few seconds where it stands and is put back), runs the measurement on a thread of
// its own, which shares the link with the polling one exchange at a time, and returns at once:
// the windows keep answering (Stop above all) while it runs. When it ends, it puts what it found
// into the dialog's fields before it tells the user they are there. Unsteady measurements
// (trials that disagree by more than two frames) go into the fields only when the user says so.
// Only the player is measured when the edit terminal records or no recorder is chosen, and the
// user is told so.
#pragma once

#include <QPointer>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "engine/DeckCalibration.h"
#include "ui/TfrmOption.h"

class CaptionTable;
class Clock;
class QWidget;
class TarnLink;
class TapeGuard;
class TfrmWait;
class UserPrompts;
struct DeviceConfig;

class DeckMeasurement {
public:
    DeckMeasurement(TarnLink& link, Clock& clock, const DeviceConfig& devices,
                    const CaptionTable& captions, UserPrompts& prompts, TfrmWait& progress);
    // A measurement still running is stopped and waited for.
    ~DeckMeasurement();
    // The guard that stands by while the decks are measured.
    void SetTapeGuard(TapeGuard* guard) { guard_ = guard; }

    // GUI thread; returns at once. dialog: the window the questions and messages belong to;
    // fill puts the values into its fields; ended runs when the measurement is over, however it
    // ended. Fills nothing when the user declined, Stop was pressed, a deck failed, or the
    // measurements were unsteady and the user did not want them.
    void Run(QWidget* dialog, const TfrmOption::FillFields& fill, std::function<void()> ended);

    // The option values a calibration gives; what it did not measure stays empty.
    static MeasuredOptions OptionsFrom(const CalibrationResult& result);

private:
    using Measured = std::function<void(CalibrationEnd, const CalibrationResult&)>;

    // Starts the calibration on its thread; done gets how it ended and what it found on the GUI
    // thread.
    void Calibrate(int playerId, int recorderId, Measured done);
    void ShowProgress(int recorderId, DeckCalibration& calibration);
    void Report(QWidget* dialog, bool playerOnly, CalibrationEnd end,
                const CalibrationResult& result, const TfrmOption::FillFields& fill);
    // Unsteady measurements are taken only when the user says so.
    bool Accepted(QWidget* dialog, const CalibrationResult& result);
    QString Text(const char* key) const;

    TarnLink& link_;
    Clock& clock_;
    const DeviceConfig& devices_;
    const CaptionTable& captions_;
    UserPrompts& prompts_;
    TfrmWait& progress_;
    TapeGuard* guard_ = nullptr;
    std::thread worker_;
    std::atomic<bool> abandoned_{false};
    Qt::WindowModality progressModality_ = Qt::NonModal;
};
