// The options dialog: shows the editing options (in-point and out-point corrections, the
// player's search speed, the pre-roll in seconds and frames, the pause leads of player and
// recorder, the retakes, Quick cue), puts the defaults of the frame rate into the fields on
// Default, and stores the fields on OK. Cancel leaves everything as it was. The values themselves
// live in EditOptions. Measure... has the decks measured (the program's deck calibration, given
// with SetMeasure), which puts what it found into the fields before it says so.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class CaptionTable;
class EditOptions;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QSpinBox;
class SettingsFile;

// What a deck calibration found, in frames; a value it could not measure is left out.
struct MeasuredOptions {
    std::optional<int> inCorrection, outCorrection, playerPauseLead, recorderPauseLead;
};

class TfrmOption : public QDialog {
    Q_OBJECT

public:
    // Puts measured values into the fields; what was not measured keeps its field.
    using FillFields = std::function<void(const MeasuredOptions&)>;
    // Starts the measurement and returns; it calls fill with what it found (not at all when it
    // was stopped, failed or declined) and then ended. Without one, Measure... is greyed.
    using Measure = std::function<void(const FillFields& fill, std::function<void()> ended)>;
    void SetMeasure(Measure measure);

    TfrmOption(EditOptions& options, const SettingsFile& settings, const CaptionTable& captions,
               QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildLayout();
    QWidget* BuildRetakeGroup();
    void AlignFieldColumns();
    void FormShow();
    void btnDefClick();
    void btnOkClick();
    void btnMeasureClick();
    // While the decks are measured the dialog's keys wait for the end.
    void SetMeasuring(bool measuring);
    void PutMeasured(const MeasuredOptions& measured);

    EditOptions& options_;
    const SettingsFile& settings_;

    QSpinBox* seIn_ = nullptr;
    QSpinBox* seOut_ = nullptr;
    QRadioButton* rbNorm_ = nullptr;
    QRadioButton* rbHigh_ = nullptr;
    QSpinBox* seSyncSec_ = nullptr;
    QSpinBox* seSyncFrm_ = nullptr;
    QSpinBox* sePlayerLead_ = nullptr;
    QSpinBox* seRecorderLead_ = nullptr;
    QSpinBox* seRetakes_ = nullptr;
    QSpinBox* seRetakeTol_ = nullptr;
    QCheckBox* cbQuickCue_ = nullptr;
    QPushButton* btnMeasure_ = nullptr;
    Measure measure_;
    bool measuring_ = false;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnDef_ = nullptr;
};
