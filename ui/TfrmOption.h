// The options dialog: shows the editing options (in-point and out-point corrections, the
// player's search speed, the pre-roll in seconds and frames), puts the defaults of the frame
// rate into the fields on Default, and stores the fields on OK. Cancel leaves everything as it
// was. The values themselves live in EditOptions.
#pragma once

#include <QDialog>

class CaptionTable;
class EditOptions;
class QRadioButton;
class QPushButton;
class QSpinBox;
class SettingsFile;

class TfrmOption : public QDialog {
    Q_OBJECT

public:
    TfrmOption(EditOptions& options, const SettingsFile& settings, const CaptionTable& captions,
               QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildLayout();
    void FormShow();
    void btnDefClick();
    void btnOkClick();

    EditOptions& options_;
    const SettingsFile& settings_;

    QSpinBox* seIn_ = nullptr;
    QSpinBox* seOut_ = nullptr;
    QRadioButton* rbNorm_ = nullptr;
    QRadioButton* rbHigh_ = nullptr;
    QSpinBox* seSyncSec_ = nullptr;
    QSpinBox* seSyncFrm_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnDef_ = nullptr;
};
