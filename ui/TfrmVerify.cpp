#include "ui/TfrmVerify.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "config/CaptionTable.h"
#include "config/EditOptions.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "engine/VerificationReport.h"
#include "ui/ApplyCaptions.h"
#include "ui/NamedControls.h"
#include "ui/WindowPositions.h"

namespace {

// A difference beyond this many frames is worth the user's eye.
constexpr int kNoticeableFrames = 1;
// The table shows at least the first and at most the second many scenes before it scrolls.
constexpr int kFewestRows = 3;
constexpr int kVisibleRows = 12;

QTableWidgetItem* Cell(const QString& text, int column) {
    auto* item = new QTableWidgetItem(text);
    const bool number = column != VerificationTable::ColSeam;
    item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    return item;
}

}  // namespace

TfrmVerify::TfrmVerify(EditOptions& options, const SettingsFile& settings,
                       const CaptionTable& captions, QWidget* parent)
    : QDialog(parent), options_(options), settings_(settings), captions_(captions) {
    setObjectName(QStringLiteral("frmVerify"));
    BuildLayout();
    ApplyCaptions(this, captions);
    const QString title = Text("TI_VERIFY");
    setWindowTitle(title.isEmpty() ? QStringLiteral("Auto Rec") : title);
}

QString TfrmVerify::Text(const char* key) const {
    return captions_.CaptionText(QLatin1String(key));
}

void TfrmVerify::BuildLayout() {
    grdScenes_ = new QTableWidget(0, VerificationTable::ColumnCount, this);
    grdScenes_->setObjectName(QStringLiteral("grdScenes"));
    grdScenes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdScenes_->setSelectionMode(QAbstractItemView::NoSelection);
    grdScenes_->setFocusPolicy(Qt::NoFocus);
    grdScenes_->verticalHeader()->hide();
    grdScenes_->horizontalHeader()->setStretchLastSection(true);
    grdScenes_->setAlternatingRowColors(true);
    grdScenes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    lblAdvice_ = new QLabel(this);
    lblAdvice_->setObjectName(QStringLiteral("lblAdvice"));
    lblAdvice_->setWordWrap(true);
    lblStopReason_ = new QLabel(this);
    lblStopReason_->setObjectName(QStringLiteral("lblStopReason"));
    lblStopReason_->setWordWrap(true);

    btnCopy_ = NamedButton("btnCopy", QStringLiteral("Copy"), this);
    btnSave_ = NamedButton("btnSave", QStringLiteral("Save..."), this);
    btnCorrect_ = NamedButton("btnCorrect", QStringLiteral("Use Correction..."), this);
    btnClose_ = NamedButton("btnClose", QStringLiteral("Close"), this);
    btnClose_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCopy_);
    buttons->addWidget(btnSave_);
    buttons->addWidget(btnCorrect_);
    buttons->addStretch();
    buttons->addWidget(btnClose_);

    auto* top = new QVBoxLayout(this);
    top->addWidget(grdScenes_, 1);
    top->addWidget(lblAdvice_);
    top->addWidget(lblStopReason_);
    top->addLayout(buttons);

    connect(btnCopy_, &QPushButton::clicked, this, &TfrmVerify::btnCopyClick);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmVerify::btnSaveClick);
    connect(btnCorrect_, &QPushButton::clicked, this, &TfrmVerify::btnCorrectClick);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmVerify::ShowReport(const VerificationReport& report) {
    table_ = BuildVerificationTable(report, captions_);
    suggestedOut_ = report.SuggestedOutCorrection();
    FillGrid();
    lblAdvice_->setText(table_.advice);
    lblAdvice_->setVisible(!table_.advice.isEmpty());
    lblStopReason_->setText(table_.stopReason);
    lblStopReason_->setVisible(!table_.stopReason.isEmpty());
    btnCorrect_->setVisible(suggestedOut_.has_value());
    btnCorrect_->setEnabled(true);
    if (!isVisible()) {
        show();
        Place();
    }
    raise();
    activateWindow();
}

void TfrmVerify::FillGrid() {
    grdScenes_->clearSpans();
    grdScenes_->setRowCount(static_cast<int>(table_.lines.size()));
    grdScenes_->setHorizontalHeaderLabels(table_.header);
    for (int r = 0; r < grdScenes_->rowCount(); ++r) {
        const VerificationTable::Line& line = table_.lines[static_cast<size_t>(r)];
        for (int c = 0; c < VerificationTable::ColumnCount; ++c)
            grdScenes_->setItem(r, c, Cell(c < line.cells.size() ? line.cells[c] : QString(), c));
        if (!line.note.isEmpty()) {
            // A sentence in place of the cells it stands for, set off from the figures.
            auto* note = new QTableWidgetItem(line.note);
            QFont font = note->font();
            font.setItalic(true);
            font.setBold(line.resumeMark);
            note->setFont(font);
            grdScenes_->setItem(r, line.noteColumn, note);
            grdScenes_->setSpan(r, line.noteColumn, 1,
                                VerificationTable::ColumnCount - line.noteColumn);
        }
        if (std::abs(line.difference) > kNoticeableFrames)
            grdScenes_->item(r, VerificationTable::ColDifference)->setForeground(Qt::darkRed);
        // A scene that stays off after its retakes, or frames left after the last one, are what the
        // user must look at on the tape.
        if (line.flagged)
            for (int c = 0; c < VerificationTable::ColumnCount; ++c)
                if (QTableWidgetItem* item = grdScenes_->item(r, c))
                    item->setForeground(Qt::red);
    }
    grdScenes_->resizeColumnsToContents();
    PadHeaders();
    grdScenes_->resizeRowsToContents();
    FitGrid();
}

void TfrmVerify::PadHeaders() {
    // A column as narrow as its header's text crowds it against the lines ("シーン" in
    // Japanese): every header keeps its margins clear on both sides.
    const QHeaderView* header = grdScenes_->horizontalHeader();
    const int margins = 4 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < table_.header.size(); ++c) {
        const int needed = header->fontMetrics().horizontalAdvance(table_.header[c]) + margins;
        if (grdScenes_->columnWidth(c) < needed)
            grdScenes_->setColumnWidth(c, needed);
    }
}

void TfrmVerify::FitGrid() {
    // Wide enough for every column without scrolling sideways, tall enough for a usual list.
    const int frame = 2 * grdScenes_->frameWidth();
    grdScenes_->setMinimumWidth(grdScenes_->horizontalHeader()->length() + frame +
                                grdScenes_->verticalScrollBar()->sizeHint().width());
    const int rows = std::clamp(grdScenes_->rowCount(), kFewestRows, kVisibleRows);
    grdScenes_->setMinimumHeight(grdScenes_->horizontalHeader()->height() + frame +
                                 rows * grdScenes_->verticalHeader()->defaultSectionSize());
}

void TfrmVerify::Place() {
    int32_t width = 0;
    if (settings_.ReadInteger(objectName(), settings_keys::kWidth, &width)) {
        RestorePosition(this, settings_);
        return;
    }
    // Until the user has placed it, as large as the table needs, in the middle of the screen.
    resize(minimumSizeHint());
    move(CentredOn(screen()->availableGeometry(), frameGeometry().size()));
}

void TfrmVerify::done(int result) {
    SavePosition(this, settings_);
    QDialog::done(result);
}

void TfrmVerify::btnCopyClick() {
    QGuiApplication::clipboard()->setText(TableText());
}

void TfrmVerify::btnSaveClick() {
    if (!prompts_.chooseSaveFile)
        return;
    const QString path = prompts_.chooseSaveFile(this, QStringLiteral("autorec-check.txt"),
                                                 Text("FL_TEXT") + QStringLiteral(" (*.txt)"));
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        !(prompts_.askYesNo && prompts_.askYesNo(this, Text("TI_MAIN"),
                                                 Text("MSG_SAVEOW1") + '\n' + Text("MSG_SAVEOW2"))))
        return;
    if (!WriteText(path) && prompts_.warning)
        prompts_.warning(this, Text("TI_MAIN"), Text("MSG_INPUT"));
}

bool TfrmVerify::WriteText(const QString& path) {
    // All or nothing: a failed write leaves an earlier file as it was.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Text) &&
           file.write(TableText().toUtf8()) >= 0 && file.commit();
}

void TfrmVerify::btnCorrectClick() {
    if (!suggestedOut_ || !prompts_.askYesNo)
        return;
    const QString question =
        Text("MSG_VERIFY_STORE").arg(*suggestedOut_).arg(options_.outCorrection());
    if (!prompts_.askYesNo(this, Text("TI_MAIN"), question))
        return;
    // The options dialog's keys and values; only the out-point correction changes.
    options_.Store(settings_, options_.inCorrection(), *suggestedOut_, options_.highSpeedSearch(),
                   options_.preRollFrames());
    btnCorrect_->setEnabled(false);
}
