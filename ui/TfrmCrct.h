// The scene correction dialog: edits one row of the edit list (in point, out point or duration
// field by field, the memo, the tape-change mark) and keeps the three times consistent while the
// user types. OK is only possible for a valid scene (in point at 00:00:30:00 or later, before the
// out point) or for a tape-change entry, whose times are not edited.
#pragma once

#include <QDialog>
#include <array>

#include "edit/Timecode.h"

class CaptionTable;
class EditHistory;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SceneList;
class SettingsFile;
class TimeSpinField;

class TfrmCrct : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxMemoCharacters = 300;
    static constexpr int kMaxHours = 59;

    // Neither table nor settings are owned; both outlive the dialog.
    TfrmCrct(const CaptionTable& captions, const SettingsFile& settings, QWidget* parent = nullptr);

    // Edits row i of the list modally. On OK the row takes the dialog's in and out points, memo
    // and (from row 1 on) tape-change mark as one step of the history, and true is returned;
    // Cancel changes nothing.
    bool ModifyRow(SceneList& list, EditHistory& history, int i);

    // What the caller hands in before showing the dialog: texts "HH:MM:SS:FF" in `mode`; the
    // tape-change box can only be changed when tapeChangeAllowed.
    void SetScene(const QString& inText, const QString& outText, const QString& memo,
                  bool tapeChange, bool tapeChangeAllowed, uint32_t mode);

    // The outcome of the last showing.
    bool accepted() const { return accepted_; }
    const QString& inText() const { return inText_; }
    const QString& outText() const { return outText_; }
    const QString& durationText() const { return durationText_; }
    QString memo() const;
    bool tapeChange() const { return tapeChange_; }

    bool IsValidScene() const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    enum Part { kHours, kMinutes, kSeconds, kFrames, kPartCount };
    using TimeFields = std::array<TimeSpinField*, kPartCount>;
    using PartLabels = std::array<QLabel*, kPartCount>;

    void BuildControls();
    QGroupBox* BuildTimeGroup(const char* name, const char* title, const char* fieldPrefix,
                              const char* labelPrefix, TimeFields& fields, PartLabels& labels);
    TimeSpinField* AddDurationRow();
    void ConnectGroup(const TimeFields& fields, void (TfrmCrct::*recompute)());
    void AlignLabelColumns();

    void LoadFields();
    void EnableTimeFields(bool tape);
    void ClampTimeField(const TimeFields& group);
    void RecomputeFromPoints();
    void RecomputeFromDuration();
    void btnOkClick();

    Timecode FieldsTime(const TimeFields& fields) const;
    void WriteFields(const TimeFields& fields, const Timecode& tc);
    void SetFrameMaximum(uint32_t mode);

    const CaptionTable& captions_;
    const SettingsFile& settings_;

    QString inText_ = QStringLiteral("00:00:30:00");
    QString outText_ = QStringLiteral("00:00:40:00");
    QString durationText_ = QStringLiteral("00:00:10:00");
    QString memoIn_;
    bool tapeChange_ = false;
    bool tapeChangeAllowed_ = true;
    bool accepted_ = false;
    uint32_t mode_ = Fps30Drop;
    Timecode inTime_;
    Timecode outTime_;
    Timecode durationTime_;
    int32_t inFrames_ = 0;
    int32_t outFrames_ = 0;
    int32_t durationFrames_ = 0;

    QCheckBox* cbTChange = nullptr;
    QGroupBox* gbIn = nullptr;
    QGroupBox* gbOut = nullptr;
    TimeFields inFields_{};
    TimeFields outFields_{};
    TimeFields durationFields_{};
    PartLabels inLabels_{};
    PartLabels outLabels_{};
    QLabel* lblDTime = nullptr;
    QLabel* lblMemo = nullptr;
    QLineEdit* edMemo = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QGridLayout* inGrid_ = nullptr;
    QGridLayout* outGrid_ = nullptr;
};
