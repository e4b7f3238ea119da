#include "ui/TfrmCrct.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/CaptionTable.h"
#include "edit/SceneList.h"
#include "ui/ApplyCaptions.h"
#include "ui/EditHistory.h"
#include "ui/TimeSpinField.h"
#include "ui/WindowPositions.h"

namespace {

constexpr int kFieldWidth = 54;
constexpr int kMaxSixtieth = 59;
constexpr int kMaxFrames30 = 29;
constexpr int kMaxFrames25 = 24;
// Drop-frame counting skips frames 0 and 1 at the start of every minute not divisible by ten.
constexpr int kFirstDropFrame = 2;
constexpr int kTenMinutes = 10;
const char* const kPartNames[] = {"H", "M", "S", "F"};
const char* const kPartCaptions[] = {"Hour", "Min", "Sec", "Frame"};

// The two digits at 0-based position `start` of a timecode text; 0 where there are none.
int TextField(const QString& text, int start) {
    return text.mid(start, 2).toInt();
}

template <typename T>
T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

TfrmCrct::TfrmCrct(const CaptionTable& captions, const SettingsFile& settings, QWidget* parent)
    : QDialog(parent), captions_(captions), settings_(settings) {
    setObjectName(QStringLiteral("frmCrct"));
    setWindowTitle(QStringLiteral("Scene Correction"));
    setModal(true);
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP")});
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    BuildControls();
}

// --- Controls ----------------------------------------------------------------------------------

void TfrmCrct::BuildControls() {
    cbTChange = Named(new QCheckBox(QStringLiteral("Tape Change"), this), "cbTChange");
    gbIn = BuildTimeGroup("gbIn", "In Point", "seIn", "lblIn", inFields_, inLabels_);
    inGrid_ = static_cast<QGridLayout*>(gbIn->layout());
    // An empty caption in the in group's column 0, so that the grid spaces it like the out
    // group's duration caption and the fields of both groups stand in the same columns.
    inGrid_->addWidget(new QLabel(gbIn), 1, 0);
    gbOut = BuildTimeGroup("gbOut", "Out Point", "seOut", "lblOut", outFields_, outLabels_);
    outGrid_ = static_cast<QGridLayout*>(gbOut->layout());
    AddDurationRow();

    lblMemo = Named(new QLabel(QStringLiteral("Memo"), this), "lblMemo");
    edMemo = Named(new QLineEdit(this), "edMemo");
    edMemo->setMaxLength(kMaxMemoCharacters);
    lblMemo->setBuddy(edMemo);
    auto* memoRow = new QHBoxLayout;
    memoRow->addWidget(lblMemo);
    memoRow->addWidget(edMemo, 1);

    btnOk = Named(new QPushButton(QStringLiteral("OK"), this), "btnOk");
    btnOk->setDefault(true);
    btnCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(cbTChange);
    layout->addWidget(gbIn);
    layout->addWidget(gbOut);
    layout->addLayout(memoRow);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    ConnectGroup(inFields_, &TfrmCrct::RecomputeFromPoints);
    ConnectGroup(outFields_, &TfrmCrct::RecomputeFromPoints);
    ConnectGroup(durationFields_, &TfrmCrct::RecomputeFromDuration);
    connect(cbTChange, &QCheckBox::clicked, this, &TfrmCrct::EnableTimeFields);
    connect(btnOk, &QPushButton::clicked, this, &TfrmCrct::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* TfrmCrct::BuildTimeGroup(const char* name, const char* title, const char* fieldPrefix,
                                    const char* labelPrefix, TimeFields& fields,
                                    PartLabels& labels) {
    auto* group = Named(new QGroupBox(QString::fromLatin1(title), this), name);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    // Column 0 holds the duration row's caption in the out group.
    for (int part = 0; part < kPartCount; ++part) {
        const QString suffix = QString::fromLatin1(kPartNames[part]);
        labels[part] = Named(new QLabel(QString::fromLatin1(kPartCaptions[part]), group),
                             QString::fromLatin1(labelPrefix) + suffix);
        labels[part]->setAlignment(Qt::AlignCenter);
        fields[part] = Named(new TimeSpinField(group), QString::fromLatin1(fieldPrefix) + suffix);
        fields[part]->setFixedWidth(kFieldWidth);
        fields[part]->setRange(0, part == kFrames ? kMaxFrames30 : kMaxSixtieth);
        grid->addWidget(labels[part], 0, part + 1);
        grid->addWidget(fields[part], 1, part + 1);
    }
    grid->setColumnStretch(kPartCount + 1, 1);
    return group;
}

TimeSpinField* TfrmCrct::AddDurationRow() {
    lblDTime = Named(new QLabel(QStringLiteral(" Duration Time"), gbOut), "lblDTime");
    outGrid_->addWidget(lblDTime, 2, 0);
    const char* const names[] = {"seDtH", "seDtM", "seDtS", "seDtF"};
    for (int part = 0; part < kPartCount; ++part) {
        durationFields_[part] = Named(new TimeSpinField(gbOut), names[part]);
        durationFields_[part]->setFixedWidth(kFieldWidth);
        durationFields_[part]->setRange(0, part == kFrames ? kMaxFrames30 : kMaxSixtieth);
        outGrid_->addWidget(durationFields_[part], 2, part + 1);
    }
    return durationFields_[kHours];
}

// Every change the user makes in a group (typing, arrows, wheel) clamps it and recomputes; the
// dialog's own writes are made with signals blocked, so they never feed back.
void TfrmCrct::ConnectGroup(const TimeFields& fields, void (TfrmCrct::*recompute)()) {
    for (TimeSpinField* field : fields) {
        connect(field, &QSpinBox::valueChanged, this, [this, fields, recompute] {
            ClampTimeField(fields);
            (this->*recompute)();
        });
    }
}

void TfrmCrct::AlignLabelColumns() {
    const int width = lblDTime->sizeHint().width();
    inGrid_->setColumnMinimumWidth(0, width);
    outGrid_->setColumnMinimumWidth(0, width);
}

// --- Showing and closing -----------------------------------------------------------------------

void TfrmCrct::SetScene(const QString& inText, const QString& outText, const QString& memo,
                        bool tapeChange, bool tapeChangeAllowed, uint32_t mode) {
    inText_ = inText;
    outText_ = outText;
    memoIn_ = memo;
    tapeChange_ = tapeChange;
    tapeChangeAllowed_ = tapeChangeAllowed;
    mode_ = mode;
}

QString TfrmCrct::memo() const {
    return edMemo->text();
}

bool TfrmCrct::ModifyRow(SceneList& list, EditHistory& history, int i) {
    if (i < 0 || i >= list.count())
        return false;
    const Scene& row = list.row(i);
    SetScene(row.inText, row.outText, row.memo, row.tapeChange, i > 0, list.timecodeMode());
    exec();
    if (!accepted_)
        return false;
    history.Perform(EditStep::Correction,
                    [&] { list.ModifyRow(i, inText_, outText_, memo(), tapeChange_); });
    return true;
}

void TfrmCrct::showEvent(QShowEvent* event) {
    ApplyCaptions(this, captions_);
    setWindowTitle(captions_.CaptionText(QStringLiteral("TI_CRCT")));
    AlignLabelColumns();
    accepted_ = false;
    LoadFields();
    cbTChange->setEnabled(tapeChangeAllowed_);
    cbTChange->setChecked(tapeChange_);
    EnableTimeFields(tapeChange_);
    edMemo->setText(memoIn_);
    // The size follows the captions of this language; centring needs it first.
    adjustSize();
    RestorePosition(this, settings_);
    QDialog::showEvent(event);
}

void TfrmCrct::done(int result) {
    SavePosition(this, settings_);
    QDialog::done(result);
}

void TfrmCrct::LoadFields() {
    SetFrameMaximum(mode_);
    const auto load = [this](const TimeFields& fields, const QString& text) {
        Timecode tc;
        tc.hours = TextField(text, 0);
        tc.minutes = TextField(text, 3);
        tc.seconds = TextField(text, 6);
        tc.frames = TextField(text, 9);
        WriteFields(fields, tc);
    };
    load(inFields_, inText_);
    load(outFields_, outText_);
    RecomputeFromPoints();
}

void TfrmCrct::SetFrameMaximum(uint32_t mode) {
    const int maximum = mode == Fps25 ? kMaxFrames25 : kMaxFrames30;
    for (const TimeFields* group : {&inFields_, &outFields_, &durationFields_}) {
        QSignalBlocker blocker((*group)[kFrames]);
        (*group)[kFrames]->setRange(0, maximum);
    }
}

// --- Field logic -------------------------------------------------------------------------------

void TfrmCrct::EnableTimeFields(bool tape) {
    for (const TimeFields* group : {&inFields_, &outFields_, &durationFields_}) {
        for (TimeSpinField* field : *group)
            field->setEnabled(!tape);
    }
    for (const PartLabels* labels : {&inLabels_, &outLabels_}) {
        for (QLabel* label : *labels)
            label->setEnabled(!tape);
    }
    lblDTime->setEnabled(!tape);
    if (tape) {
        btnOk->setEnabled(true);
    } else {
        RecomputeFromPoints();
    }
}

void TfrmCrct::ClampTimeField(const TimeFields& group) {
    const bool startOfDroppedMinute = mode_ == Fps30Drop && group[kSeconds]->value() == 0 &&
                                      group[kMinutes]->value() % kTenMinutes != 0;
    QSignalBlocker blocker(group[kFrames]);
    group[kFrames]->setMinimum(startOfDroppedMinute ? kFirstDropFrame : 0);
}

void TfrmCrct::RecomputeFromPoints() {
    inTime_ = FieldsTime(inFields_);
    inFrames_ = TimecodeToFrames(inTime_);
    outTime_ = FieldsTime(outFields_);
    outFrames_ = TimecodeToFrames(outTime_);
    if (outFrames_ < inFrames_) {
        Timecode zero;
        zero.mode = mode_;
        WriteFields(durationFields_, zero);
        btnOk->setEnabled(false);
        return;
    }
    durationFrames_ = outFrames_ - inFrames_;
    durationTime_.mode = mode_;
    FramesToTimecode(durationFrames_, durationTime_);
    btnOk->setEnabled(IsValidScene());
    WriteFields(durationFields_, durationTime_);
}

void TfrmCrct::RecomputeFromDuration() {
    inTime_ = FieldsTime(inFields_);
    inFrames_ = TimecodeToFrames(inTime_);
    durationTime_ = FieldsTime(durationFields_);
    durationFrames_ = TimecodeToFrames(durationTime_);
    outFrames_ = inFrames_ + durationFrames_;
    outTime_.mode = mode_;
    FramesToTimecode(outFrames_, outTime_);
    // An out point past the fields' 59 hours cannot be shown, and OK would write the cut value.
    btnOk->setEnabled(IsValidScene() && outTime_.hours <= kMaxHours);
    WriteFields(outFields_, outTime_);
}

bool TfrmCrct::IsValidScene() const {
    return IsAtLeast30s(inFrames_, mode_) && inFrames_ < outFrames_;
}

void TfrmCrct::btnOkClick() {
    const auto text = [this](const TimeFields& fields) {
        Timecode tc = FieldsTime(fields);
        TimecodeToText(tc);
        return tc.text;
    };
    inText_ = text(inFields_);
    outText_ = text(outFields_);
    durationText_ = text(durationFields_);
    accepted_ = true;
    tapeChange_ = cbTChange->isChecked();
    accept();
}

Timecode TfrmCrct::FieldsTime(const TimeFields& fields) const {
    Timecode tc;
    tc.hours = fields[kHours]->value();
    tc.minutes = fields[kMinutes]->value();
    tc.seconds = fields[kSeconds]->value();
    tc.frames = fields[kFrames]->value();
    tc.mode = mode_;
    return tc;
}

void TfrmCrct::WriteFields(const TimeFields& fields, const Timecode& tc) {
    const int values[] = {tc.hours, tc.minutes, tc.seconds, tc.frames};
    for (int part = 0; part < kPartCount; ++part) {
        QSignalBlocker blocker(fields[part]);
        // A time the dialog computes is always a real one; the drop-frame minimum only guards
        // what the user types, and comes back with the next edit of the group.
        if (part == kFrames)
            fields[part]->setMinimum(0);
        fields[part]->setValue(values[part]);
    }
}
