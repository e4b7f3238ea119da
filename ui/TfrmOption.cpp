#include "ui/TfrmOption.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/CaptionTable.h"
#include "config/EditOptions.h"
#include "ui/ApplyCaptions.h"
#include "ui/NamedControls.h"
#include "ui/ReversedSpinBox.h"
#include "ui/WindowPositions.h"

namespace {

constexpr int kMaxCorrection = 200;
constexpr int kMaxPreRollSeconds = 59;

template <typename Spin>
Spin* NamedSpin(const char* name, int maximum, QWidget* parent) {
    auto* spin = new Spin(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(0, maximum);
    return spin;
}

// The columns of every group's rows: caption, field, unit (and a second field and unit for the
// pre-roll); what the group has to spare goes to the right of them.
enum FieldColumn { kCaptionColumn, kFieldColumn, kUnitColumn, kSpareColumn = 5 };

// A grid whose fields stand at the same place as every other group's.
QGridLayout* FieldGrid(QWidget* group) {
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(kSpareColumn, 1);
    return grid;
}

void AddFieldRow(QGridLayout* grid, int row, QLabel* caption, QSpinBox* field, QLabel* unit) {
    grid->addWidget(caption, row, kCaptionColumn);
    grid->addWidget(field, row, kFieldColumn);
    if (unit != nullptr)
        grid->addWidget(unit, row, kUnitColumn);
}

// A correction is subtracted from its edit point: its field shows the minus sign with the
// number, and its arrows step towards the sign.
ReversedSpinBox* CorrectionField(const char* name, QWidget* group) {
    auto* field = NamedSpin<ReversedSpinBox>(name, kMaxCorrection, group);
    field->setPrefix(QStringLiteral("\u2212"));
    return field;
}

}  // namespace

TfrmOption::TfrmOption(EditOptions& options, const SettingsFile& settings,
                       const CaptionTable& captions, QWidget* parent)
    : QDialog(parent), options_(options), settings_(settings) {
    setObjectName(QStringLiteral("frmOption"));
    setModal(true);
    BuildLayout();
    ApplyCaptions(this, captions);
    AlignFieldColumns();
    const QString title = captions.CaptionText(QStringLiteral("TI_OPT"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Options") : title);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmOption::AlignFieldColumns() {
    // The groups lay out apart: the captions and fields of every group take the widest one's
    // width, in the captions' language, so the fields stand in one column from group to group.
    const QList<QSpinBox*> fields = {seIn_,           seOut_,     seSyncSec_,  sePlayerLead_,
                                     seRecorderLead_, seRetakes_, seRetakeTol_};
    QList<QWidget*> captions;
    int captionWidth = 0;
    int fieldWidth = 0;
    for (QSpinBox* field : fields) {
        auto* grid = static_cast<QGridLayout*>(field->parentWidget()->layout());
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(field), &row, &column, &rowSpan, &columnSpan);
        QWidget* caption = grid->itemAtPosition(row, kCaptionColumn)->widget();
        captions << caption;
        captionWidth = std::max(captionWidth, caption->sizeHint().width());
        fieldWidth = std::max(fieldWidth, field->sizeHint().width());
    }
    for (QWidget* caption : captions)
        caption->setMinimumWidth(captionWidth);
    for (QSpinBox* field : fields)
        field->setMinimumWidth(fieldWidth);
}

void TfrmOption::BuildLayout() {
    auto* gbRecPause = new QGroupBox(QStringLiteral("Rec Pause Time Correction"), this);
    gbRecPause->setObjectName(QStringLiteral("gbRecPause"));
    seIn_ = CorrectionField("seIn", gbRecPause);
    seOut_ = CorrectionField("seOut", gbRecPause);
    auto* recGrid = FieldGrid(gbRecPause);
    AddFieldRow(recGrid, 0, NamedLabel("lblIn", QStringLiteral("In Point"), gbRecPause), seIn_,
                NamedLabel("lblInFrm", QStringLiteral("Frame"), gbRecPause));
    AddFieldRow(recGrid, 1, NamedLabel("lblOut", QStringLiteral("Out Point"), gbRecPause), seOut_,
                NamedLabel("lblOutFrm", QStringLiteral("Frame"), gbRecPause));

    auto* gbSearch = new QGroupBox(QStringLiteral("Search Speed of Player"), this);
    gbSearch->setObjectName(QStringLiteral("gbSearch"));
    rbNorm_ = new QRadioButton(QStringLiteral("Normal"), gbSearch);
    rbNorm_->setObjectName(QStringLiteral("rbNorm"));
    rbNorm_->setChecked(true);
    rbHigh_ = new QRadioButton(QStringLiteral("High Speed"), gbSearch);
    rbHigh_->setObjectName(QStringLiteral("rbHigh"));
    auto* searchRow = new QHBoxLayout(gbSearch);
    searchRow->addWidget(rbNorm_);
    searchRow->addWidget(rbHigh_);

    auto* gbSync = new QGroupBox(QStringLiteral("Synchronized Edit"), this);
    gbSync->setObjectName(QStringLiteral("gbSync"));
    seSyncSec_ = NamedSpin<QSpinBox>("seSyncSec", kMaxPreRollSeconds, gbSync);
    seSyncFrm_ = NamedSpin<QSpinBox>("seSyncFrm", 29, gbSync);
    auto* syncGrid = FieldGrid(gbSync);
    AddFieldRow(syncGrid, 0, NamedLabel("lblPr", QStringLiteral("Pre-roll"), gbSync), seSyncSec_,
                NamedLabel("lblSec", QStringLiteral("Sec."), gbSync));
    syncGrid->addWidget(seSyncFrm_, 0, kUnitColumn + 1);
    syncGrid->addWidget(NamedLabel("lblFrm", QStringLiteral("Frame"), gbSync), 0, kUnitColumn + 2);

    btnOk_ = NamedButton("btnOk", QStringLiteral("OK"), this);
    btnOk_->setDefault(true);
    btnCancel_ = NamedButton("btnCancel", QStringLiteral("Cancel"), this);
    btnDef_ = NamedButton("btnDef", QStringLiteral("Default"), this);
    auto* gbPauseLead = new QGroupBox(QStringLiteral("Pause Lead"), this);
    gbPauseLead->setObjectName(QStringLiteral("gbPauseLead"));
    sePlayerLead_ = CorrectionField("sePlayerLead", gbPauseLead);
    seRecorderLead_ = CorrectionField("seRecorderLead", gbPauseLead);
    auto* leadGrid = FieldGrid(gbPauseLead);
    AddFieldRow(leadGrid, 0, NamedLabel("lblPlayerLead", QStringLiteral("Player"), gbPauseLead),
                sePlayerLead_,
                NamedLabel("lblPlayerLeadFrm", QStringLiteral("Frame"), gbPauseLead));
    AddFieldRow(leadGrid, 1, NamedLabel("lblRecorderLead", QStringLiteral("Recorder"), gbPauseLead),
                seRecorderLead_,
                NamedLabel("lblRecorderLeadFrm", QStringLiteral("Frame"), gbPauseLead));

    cbQuickCue_ = new QCheckBox(QStringLiteral("Quick cue"), this);
    cbQuickCue_->setObjectName(QStringLiteral("cbQuickCue"));

    btnMeasure_ = NamedButton("btnMeasure", QStringLiteral("Measure..."), this);
    btnMeasure_->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    buttons->addWidget(btnDef_);
    buttons->addStretch();
    buttons->addWidget(btnMeasure_);

    auto* groups = new QVBoxLayout;
    groups->addWidget(gbRecPause);
    groups->addWidget(gbSearch);
    groups->addWidget(gbSync);
    groups->addWidget(gbPauseLead);
    groups->addWidget(BuildRetakeGroup());
    groups->addWidget(cbQuickCue_);
    auto* top = new QHBoxLayout(this);
    top->addLayout(groups);
    top->addLayout(buttons);

    connect(btnOk_, &QPushButton::clicked, this, &TfrmOption::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnDef_, &QPushButton::clicked, this, &TfrmOption::btnDefClick);
    connect(btnMeasure_, &QPushButton::clicked, this, &TfrmOption::btnMeasureClick);
}

QWidget* TfrmOption::BuildRetakeGroup() {
    auto* gbRetake = new QGroupBox(QStringLiteral("Retake"), this);
    gbRetake->setObjectName(QStringLiteral("gbRetake"));
    seRetakes_ = NamedSpin<QSpinBox>("seRetakes", EditOptions::kMaxRetakeAttempts, gbRetake);
    seRetakeTol_ = NamedSpin<QSpinBox>("seRetakeTol", EditOptions::kMaxRetakeTolerance, gbRetake);
    auto* grid = FieldGrid(gbRetake);
    AddFieldRow(grid, 0, NamedLabel("lblRetakes", QStringLiteral("Attempts"), gbRetake), seRetakes_,
                nullptr);
    AddFieldRow(grid, 1, NamedLabel("lblRetakeTol", QStringLiteral("Tolerance"), gbRetake),
                seRetakeTol_, NamedLabel("lblRetakeTolFrm", QStringLiteral("Frame"), gbRetake));
    return gbRetake;
}

void TfrmOption::SetMeasure(Measure measure) {
    measure_ = std::move(measure);
    btnMeasure_->setEnabled(static_cast<bool>(measure_));
}

void TfrmOption::showEvent(QShowEvent* event) {
    FormShow();
    RestorePosition(this, settings_);
    QDialog::showEvent(event);
}

void TfrmOption::done(int result) {
    if (measuring_)
        return;  // the measurement's answer belongs to this dialog
    SavePosition(this, settings_);
    QDialog::done(result);
}

void TfrmOption::FormShow() {
    const int fps = options_.fps();
    seSyncFrm_->setMaximum(fps - 1);
    seIn_->setValue(options_.inCorrection());
    seOut_->setValue(options_.outCorrection());
    (options_.highSpeedSearch() ? rbHigh_ : rbNorm_)->setChecked(true);
    seSyncSec_->setValue(options_.preRollFrames() / fps);
    seSyncFrm_->setValue(options_.preRollFrames() % fps);
    sePlayerLead_->setValue(options_.playerPauseLead());
    seRecorderLead_->setValue(options_.recorderPauseLead());
    seRetakes_->setValue(options_.retakeAttempts());
    seRetakeTol_->setValue(options_.retakeTolerance());
    cbQuickCue_->setChecked(options_.quickCue());
}

void TfrmOption::btnDefClick() {
    seIn_->setValue(options_.defaultIn());
    seOut_->setValue(options_.defaultOut());
    rbNorm_->setChecked(true);
    seSyncSec_->setValue(EditOptions::kDefaultPreRollSeconds);
    seSyncFrm_->setValue(0);
    sePlayerLead_->setValue(EditOptions::kDefaultPauseLead);
    seRecorderLead_->setValue(EditOptions::kDefaultPauseLead);
    seRetakes_->setValue(EditOptions::kDefaultRetakeAttempts);
    seRetakeTol_->setValue(EditOptions::kDefaultRetakeTolerance);
    cbQuickCue_->setChecked(false);
}

void TfrmOption::btnMeasureClick() {
    if (measuring_)
        return;
    SetMeasuring(true);
    measure_([this](const MeasuredOptions& measured) { PutMeasured(measured); },
             [self = QPointer<TfrmOption>(this)] {
                 if (self)
                     self->SetMeasuring(false);
             });
}

void TfrmOption::SetMeasuring(bool measuring) {
    measuring_ = measuring;
    for (QPushButton* key : {btnMeasure_, btnOk_, btnCancel_, btnDef_})
        key->setEnabled(!measuring);
}

void TfrmOption::PutMeasured(const MeasuredOptions& measured) {
    // Only what was measured changes; nothing is stored until OK.
    const auto put = [](QSpinBox* field, const std::optional<int>& value) {
        if (value)
            field->setValue(*value);
    };
    put(seIn_, measured.inCorrection);
    put(seOut_, measured.outCorrection);
    put(sePlayerLead_, measured.playerPauseLead);
    put(seRecorderLead_, measured.recorderPauseLead);
}

void TfrmOption::btnOkClick() {
    // A value typed but not yet confirmed by Enter still counts.
    for (QSpinBox* field : {seIn_, seOut_, seSyncSec_, seSyncFrm_, sePlayerLead_, seRecorderLead_,
                            seRetakes_, seRetakeTol_})
        field->interpretText();
    options_.Store(settings_, seIn_->value(), seOut_->value(), rbHigh_->isChecked(),
                   seSyncSec_->value() * options_.fps() + seSyncFrm_->value());
    options_.StorePauseLeads(settings_, sePlayerLead_->value(), seRecorderLead_->value());
    options_.StoreRetakes(settings_, seRetakes_->value(), seRetakeTol_->value());
    options_.StoreQuickCue(settings_, cbQuickCue_->isChecked());
    accept();
}
