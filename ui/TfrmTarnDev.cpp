#include "ui/TfrmTarnDev.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>

#include "config/CaptionTable.h"
#include "config/SettingsKeys.h"
#include "devices/DeviceSetup.h"
#include "devices/SettingsPortResolver.h"
#include "link/PortAccess.h"
#include "ui/ApplyCaptions.h"
#include "ui/NamedControls.h"
#include "ui/SerialDeviceChooser.h"
#include "ui/TfrmWait.h"
#include "ui/WindowPositions.h"

namespace {

constexpr int kColumnWidths[TfrmTarnDev::ColumnCount] = {27, 25, 73, 104};
constexpr int kRowHeight = 18;
constexpr int kIdDigits = 2;
// Room left beside the widest category, so a font a little wider than measured still fits.
constexpr int kCellSpare = 4;

QString IdText(int id) {
    return QStringLiteral("%1").arg(id, kIdDigits, 10, QLatin1Char('0'));
}

// A caption from the table, or the built-in text when the caption file lacks the key.
QString TextOr(const CaptionTable& captions, const char* key, const char* fallback) {
    const QString text = captions.CaptionText(QLatin1String(key));
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

// A sunken panel holding one selected-device label.
QFrame* SelectionPanel(const char* name, QLabel* label, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    panel->setMinimumWidth(170);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 1, 4, 1);
    label->setParent(panel);
    layout->addWidget(label);
    return panel;
}

bool IsArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

TfrmTarnDev::TfrmTarnDev(DeviceSetup& setup, const SettingsFile& settings,
                         const CaptionTable& captions, QWidget* parent)
    : QDialog(parent),
      setup_(setup),
      settings_(settings),
      captions_(captions),
      deviceRoot_(SerialDeviceRoot()) {
    setObjectName(QStringLiteral("frmTarnDev"));
    setModal(true);
    ApplyTexts(captions);
    BuildLayout();
    BuildPopupMenu();
    ApplyCaptions(this, captions);
    setWindowTitle(TextOr(captions, "TI_DEVSEL", "Tarn Device Setup"));
    mnuScan_->setText(TextOr(captions, "MNU_SCAN", "&Scan"));
    mnuChID_->setText(TextOr(captions, "MNU_IDCH", "Change &ID"));
    cbCom_->setItemText(0, textNoUse_);
    SG1_->setHorizontalHeaderLabels({TextOr(captions, "LB_NO", "No."), QStringLiteral("ID"),
                                     TextOr(captions, "LB_CAT", "Category"),
                                     TextOr(captions, "LB_NAME", "Name")});
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmTarnDev::FitColumnsToTexts() {
    // Every header and every category word of the captions' language shows whole
    // ("Caméscope"), whatever the scan finds later; the designed widths are the least.
    const QHeaderView* header = SG1_->horizontalHeader();
    // A cell's text keeps a margin each side (the style's focus frame and a pixel), and the grid
    // line takes a pixel of the cell.
    const int cellPadding =
        2 * (SG1_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, SG1_) + 1) + 1 +
        kCellSpare;
    // A code of no known kind (0) names the unknown ones.
    int categoryWidth = 0;
    for (const int category : std::initializer_list<int>{CategoryVcr, CategoryVdp, CategoryCamera,
                                                         CategoryVcp, CategoryPrinter, 0})
        categoryWidth =
            std::max(categoryWidth, SG1_->fontMetrics().horizontalAdvance(CategoryName(category)));
    int gridWidth = 2 * SG1_->frameWidth();
    for (int column = 0; column < ColumnCount; ++column) {
        int width = std::max(kColumnWidths[column], header->sectionSizeHint(column));
        if (column == ColCategory)
            width = std::max(width, categoryWidth + cellPadding);
        SG1_->setColumnWidth(column, width);
        gridWidth += width;
    }
    SG1_->setMinimumSize(gridWidth + 20, 10 * kRowHeight);
}

void TfrmTarnDev::ApplyTexts(const CaptionTable& captions) {
    textNoUse_ = TextOr(captions, "CB_NOUSE", "NotUse");
    textNoDevice_ = TextOr(captions, "TX_NODEV", "Not selected");
    textNotConnected_ = TextOr(captions, "LB_NOTCONN", "Not connected");
    textCamera_ = TextOr(captions, "SG_MOVIE", "Camcorder");
    textPrinter_ = TextOr(captions, "SG_PRINTER", "Printer");
    textUnknown_ = TextOr(captions, "SG_UNKNOWN", "Unknown");
    textScanTitle_ = TextOr(captions, "MB_TI_SCAN", "Scanning the Tarn bus...");
    textPortDenied_ = TextOr(captions, "MSG_PORTDENIED",
                             "You may not use %1. Add your user to the group %2 "
                             "(sudo adduser $USER %2), then log out and in again.");
    textPortFailed_ = TextOr(captions, "MSG_PORTFAIL", "%1 could not be opened: %2");
    textNotTerminal_ = TextOr(captions, "MSG_NOTTERMINAL",
                              "%1 is not a terminal: the Tarn bus is reached through a serial "
                              "device or a pseudo-terminal.");
}

void TfrmTarnDev::BuildLayout() {
    cbCom_ = new QComboBox(this);
    cbCom_->setObjectName(QStringLiteral("cbCom"));
    cbCom_->addItem(QStringLiteral("NotUse"));
    for (int port = 1; port <= DeviceSetup::kLastPort; ++port)
        cbCom_->addItem(QStringLiteral("COM%1").arg(port));
    connect(cbCom_, &QComboBox::activated, this, &TfrmTarnDev::cbComChange);
    btnDevice_ = NamedButton("btnDevice", QStringLiteral("Device..."), this);
    connect(btnDevice_, &QPushButton::clicked, this, &TfrmTarnDev::btnDeviceClick);

    SG1_ = new QTableWidget(0, ColumnCount, this);
    SG1_->setObjectName(QStringLiteral("SG1"));
    SG1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SG1_->setSelectionMode(QAbstractItemView::SingleSelection);
    SG1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG1_->verticalHeader()->hide();
    SG1_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    SG1_->horizontalHeader()->setHighlightSections(false);
    SG1_->horizontalHeader()->setStretchLastSection(true);
    SG1_->setContextMenuPolicy(Qt::CustomContextMenu);
    SG1_->viewport()->installEventFilter(this);
    connect(SG1_, &QTableWidget::itemSelectionChanged, this, &TfrmTarnDev::SG1Click);
    connect(SG1_, &QWidget::customContextMenuRequested, this, &TfrmTarnDev::PopupMenu1Popup);

    edId_ = new QLineEdit(SG1_->viewport());
    edId_->setObjectName(QStringLiteral("edId"));
    edId_->hide();
    edId_->installEventFilter(this);
    connect(edId_, &QLineEdit::textEdited, this, &TfrmTarnDev::SG1SetEditText);

    btnScan_ = NamedButton("btnScan", QStringLiteral("Scan"), this);
    btnOk_ = NamedButton("btnOk", QStringLiteral("OK"), this);
    btnOk_->setDefault(true);
    btnCancel_ = NamedButton("btnCancel", QStringLiteral("Cancel"), this);
    connect(btnScan_, &QPushButton::clicked, this, &TfrmTarnDev::btnScanClick);
    connect(btnOk_, &QPushButton::clicked, this, [this] {
        cancelled_ = false;
        accept();
    });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* gbSel = new QGroupBox(QStringLiteral("Selected Devices"), this);
    gbSel->setObjectName(QStringLiteral("gbSel"));
    lblSelP_ = NamedLabel("lblSelP", textNoDevice_, gbSel);
    lblSelR_ = NamedLabel("lblSelR", textNoDevice_, gbSel);
    QFrame* pnlSelP = SelectionPanel("pnlSelP", lblSelP_, gbSel);
    pnlSelR_ = SelectionPanel("pnlSelR", lblSelR_, gbSel);
    btnPSel_ = NamedButton("btnPSel", QStringLiteral("Select"), gbSel);
    btnRSel_ = NamedButton("btnRSel", QStringLiteral("Select"), gbSel);
    cbEdit_ = new QCheckBox(QStringLiteral("Use Edit Terminal"), gbSel);
    cbEdit_->setObjectName(QStringLiteral("cbEdit"));
    connect(btnPSel_, &QPushButton::clicked, this, &TfrmTarnDev::btnPSelClick);
    connect(btnRSel_, &QPushButton::clicked, this, &TfrmTarnDev::btnRSelClick);
    connect(cbEdit_, &QCheckBox::clicked, this, &TfrmTarnDev::cbEditClick);

    auto* selGrid = new QGridLayout(gbSel);
    selGrid->addWidget(NamedLabel("lblPlayer", QStringLiteral("Player"), gbSel), 0, 0);
    selGrid->addWidget(pnlSelP, 0, 1);
    selGrid->addWidget(btnPSel_, 0, 2);
    selGrid->addWidget(NamedLabel("lblRecorder", QStringLiteral("Recorder"), gbSel), 1, 0);
    selGrid->addWidget(pnlSelR_, 1, 1);
    selGrid->addWidget(btnRSel_, 1, 2);
    selGrid->addWidget(cbEdit_, 2, 1, 1, 2);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cbCom_);
    buttons->addWidget(btnDevice_);
    buttons->addWidget(btnScan_);
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* upper = new QHBoxLayout;
    upper->addWidget(SG1_);
    upper->addLayout(buttons);
    lblPortError_ = NamedLabel("lblPortError", QString(), this);
    lblPortError_->setWordWrap(true);
    lblPortError_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPortError_->hide();
    auto* top = new QVBoxLayout(this);
    top->addLayout(upper);
    top->addWidget(lblPortError_);
    top->addWidget(gbSel);
}

void TfrmTarnDev::BuildPopupMenu() {
    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    mnuScan_ = popupMenu1_->addAction(QStringLiteral("&Scan"));
    mnuScan_->setObjectName(QStringLiteral("mnuScan"));
    mnuChID_ = popupMenu1_->addAction(QStringLiteral("Change &ID"));
    mnuChID_->setObjectName(QStringLiteral("mnuChID"));
    connect(mnuScan_, &QAction::triggered, this, &TfrmTarnDev::btnScanClick);
    connect(mnuChID_, &QAction::triggered, this, &TfrmTarnDev::mnuChIDClick);
}

void TfrmTarnDev::SetGuardedWindows(QWidget* mainWindow, QWidget* controller) {
    mainWindow_ = mainWindow;
    controller_ = controller;
}

QString TfrmTarnDev::CategoryName(int category) const {
    switch (category) {
        case CategoryVcr:
            return QStringLiteral("VCR");
        case CategoryVdp:
            return QStringLiteral("VDP");
        case CategoryCamera:
            return textCamera_;
        case CategoryVcp:
            return QStringLiteral("VCP");
        case CategoryPrinter:
            return textPrinter_;
        default:
            return textUnknown_;
    }
}

void TfrmTarnDev::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The grid has its item views' font only once polished for the show: measured now.
    FitColumnsToTexts();
    FormShow();
}

void TfrmTarnDev::FormShow() {
    for (QWidget* window : {mainWindow_.data(), controller_.data()}) {
        if (window != nullptr)
            window->setEnabled(false);
    }
    cancelled_ = true;
    setup_.LoadDeviceSettings(DeviceSetup::Refresh::Later);
    RestorePosition(this, settings_);
    RefreshAndShow();
}

void TfrmTarnDev::RefreshAndShow() {
    ShowPort();
    if (setup_.OpenPort() == 0) {
        FillDeviceGrid();
        return;
    }
    // The grid waits for the devices' answers: before them nobody would be present, and
    // filling it would deselect the player and the recorder.
    SetWaiting(true);
    setup_.PostRefresh(this, [this] {
        SetWaiting(false);
        ShowPort();
        FillDeviceGrid();
    });
}

void TfrmTarnDev::ShowPort() {
    ShowPortDevices();
    const int port = setup_.OpenPort();
    cbCom_->setCurrentIndex(port >= 1 && port <= DeviceSetup::kLastPort ? port : 0);
    btnScan_->setEnabled(port != 0 && !idEditMode_);
    mnuScan_->setEnabled(btnScan_->isEnabled());
    ShowPortRefusal();
}

void TfrmTarnDev::ShowPortDevices() {
    const SettingsPortResolver ports(settings_);
    for (int port = 1; port <= DeviceSetup::kLastPort; ++port) {
        const QString path = ports.DevicePath(port);
        cbCom_->setItemText(port, QStringLiteral("COM%1  %2").arg(port).arg(path));
        cbCom_->setItemData(port, path, Qt::ToolTipRole);
    }
}

void TfrmTarnDev::btnDeviceClick() {
    // "Not used" has no port to name a device for: the choice goes to COM1.
    const int port = std::max(1, cbCom_->currentIndex());
    const SettingsPortResolver ports(settings_);
    SerialDeviceChooser chooser(captions_, QStringLiteral("COM%1").arg(port), deviceRoot_, ports,
                                this);
    // Checked before the setting is written: a path that cannot serve never replaces one that may.
    chooser.SetPathCheck([this](const QString& path) {
        const uint32_t error = setup_.TerminalError(path);
        return error == 0 ? QString() : RefusalText(path, error);
    });
    if (chooser.exec() != QDialog::Accepted || chooser.ChosenPath().isEmpty())
        return;
    settings_.WriteString(settings_keys::kPortsSection, settings_keys::PortKey(port),
                          chooser.ChosenPath());
    cbComChange(port);
}

QString TfrmTarnDev::RefusalText(const QString& path, uint32_t error) const {
    if (IsAccessDenied(error))
        return textPortDenied_.arg(path, PortGroup(path));
    if (error == ENOTTY)
        return textNotTerminal_.arg(path);
    return textPortFailed_.arg(path, SystemErrorText(error));
}

void TfrmTarnDev::ShowPortRefusal() {
    const DeviceSetup::PortRefusal& refusal = setup_.lastRefusal();
    if (refusal.port == 0) {
        lblPortError_->hide();
        return;
    }
    lblPortError_->setText(RefusalText(refusal.path, refusal.error));
    lblPortError_->show();
}

int TfrmTarnDev::WorkingIndexOfRow(int row) const {
    return row >= 0 && row < static_cast<int>(rowDevice_.size()) ? rowDevice_[row] : -1;
}

int TfrmTarnDev::RowOfDevice(int id) const {
    const auto& working = setup_.working();
    for (size_t row = 0; row < rowDevice_.size(); ++row) {
        const int index = rowDevice_[row];
        if (index >= 0 && working[index].id == id)
            return static_cast<int>(row);
    }
    return -1;
}

int TfrmTarnDev::CurrentRow() const {
    return SG1_->currentRow();
}

void TfrmTarnDev::SelectRow(int row) {
    SG1_->setCurrentCell(row, ColNumber);
    SG1_->selectRow(row);
}

void TfrmTarnDev::FillDeviceGrid() {
    const auto& working = setup_.working();
    rowDevice_.assign(1, -1);
    // Without an open port nothing on the bus can be present.
    if (setup_.OpenPort() != 0) {
        for (size_t i = 0; i < working.size(); ++i) {
            if (working[i].present)
                rowDevice_.push_back(static_cast<int>(i));
        }
    }
    const QSignalBlocker blocker(SG1_);
    SG1_->clearContents();
    SG1_->setRowCount(static_cast<int>(rowDevice_.size()));
    auto setCell = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        SG1_->setItem(row, column, item);
    };
    for (int column = 0; column < ColumnCount; ++column)
        setCell(kNoDeviceRow, column, column == ColName ? textNotConnected_ : QString());
    for (int row = 1; row < static_cast<int>(rowDevice_.size()); ++row) {
        const DeviceRecord& device = working[rowDevice_[row]];
        setCell(row, ColNumber, QString::number(rowDevice_[row] + 1));
        setCell(row, ColId, IdText(device.id));
        setCell(row, ColCategory, CategoryName(device.category));
        setCell(row, ColName, device.Name());
    }

    setup_.ReconcileSelection();
    const int playerRow = RowOfDevice(setup_.config().playerId);
    const int firstDeviceRow = rowDevice_.size() > 1 ? 1 : kNoDeviceRow;
    SelectRow(playerRow >= 0 ? playerRow : firstDeviceRow);
    ShowSelection();
}

QString TfrmTarnDev::SelectedLabel(int id) const {
    const int row = RowOfDevice(id);
    if (id < 1 || row < 0)
        return textNoDevice_;
    return QStringLiteral("ID:") + SG1_->item(row, ColId)->text() + u' ' +
           SG1_->item(row, ColName)->text();
}

void TfrmTarnDev::ShowSelection() {
    const DeviceConfig& config = setup_.config();
    lblSelP_->setText(SelectedLabel(config.playerId));
    lblSelR_->setText(SelectedLabel(config.recorderId));
    // With the edit terminal on there is no recorder: its panel greys out, its label hides.
    const bool terminal = config.useEditTerminal;
    lblSelR_->setVisible(!terminal);
    pnlSelR_->setBackgroundRole(terminal ? QPalette::Mid : QPalette::Window);
    cbEdit_->setChecked(terminal);
    cbEdit_->setEnabled(setup_.EditTerminalSelectable());
    UpdateSelectButtons(CurrentRow());
}

void TfrmTarnDev::UpdateSelectButtons(int row) {
    const bool terminal = setup_.config().useEditTerminal;
    bool selectable = false;
    if (setup_.OpenPort() != 0 && row >= 0)
        selectable = row == kNoDeviceRow || setup_.CanSelect(WorkingIndexOfRow(row));
    btnPSel_->setEnabled(selectable);
    btnRSel_->setEnabled(selectable && !terminal);
}

void TfrmTarnDev::cbComChange(int index) {
    if (setup_.SelectPort(index, DeviceSetup::Refresh::Later)) {
        RefreshAndShow();
        return;
    }
    ShowPort();
    FillDeviceGrid();
}

void TfrmTarnDev::btnScanClick() {
    if (setup_.OpenPort() == 0 || idEditMode_ || waiting_)
        return;
    SetWaiting(true);
    // The progress window lives as long as the program; the scan moves its gauge from the link
    // thread through queued calls.
    TfrmWait* gauge = progressWindow_.data();
    if (gauge != nullptr)
        gauge->ShowDirect(textScanTitle_, true, false);
    setup_.PostScan(
        this,
        [gauge](int percent) {
            if (gauge != nullptr)
                gauge->PostGauge(percent);
        },
        [this] {
            if (progressWindow_)
                progressWindow_->CloseIfVisible();
            SetWaiting(false);
            ShowPort();
            FillDeviceGrid();
        });
}

void TfrmTarnDev::SetWaiting(bool waiting) {
    // Nothing in the dialog may be pressed while the bus answers a refresh or a scan, closing it
    // least of all: the disabled dialog and the busy cursor show that it waits.
    waiting_ = waiting;
    setEnabled(!waiting);
    if (waiting)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void TfrmTarnDev::btnPSelClick() {
    setup_.SelectPlayer(WorkingIndexOfRow(CurrentRow()));
    ShowSelection();
}

void TfrmTarnDev::btnRSelClick() {
    setup_.SelectRecorder(WorkingIndexOfRow(CurrentRow()));
    ShowSelection();
}

void TfrmTarnDev::cbEditClick(bool checked) {
    setup_.SetEditTerminal(checked);
    ShowSelection();
}

void TfrmTarnDev::SG1Click() {
    UpdateSelectButtons(CurrentRow());
}

void TfrmTarnDev::PopupMenu1Popup(const QPoint& position) {
    if (idEditMode_)
        return;
    const int row = SG1_->rowAt(position.y());
    if (row >= 0)
        SelectRow(row);
    mnuChID_->setEnabled(WorkingIndexOfRow(CurrentRow()) >= 0);
    popupMenu1_->popup(SG1_->viewport()->mapToGlobal(position));
}

void TfrmTarnDev::mnuChIDClick() {
    const int row = CurrentRow();
    if (idEditMode_ || WorkingIndexOfRow(row) < 0)
        return;
    idEditMode_ = true;
    editRow_ = row;
    oldIdText_ = SG1_->item(row, ColId)->text();
    SetEditingControlsEnabled(false);
    edId_->setGeometry(SG1_->visualItemRect(SG1_->item(row, ColId)));
    edId_->setText(oldIdText_);
    edId_->selectAll();
    edId_->show();
    edId_->setFocus();
}

void TfrmTarnDev::SetEditingControlsEnabled(bool enabled) {
    btnOk_->setEnabled(enabled);
    cbCom_->setEnabled(enabled);
    btnDevice_->setEnabled(enabled);
    btnScan_->setEnabled(enabled && setup_.OpenPort() != 0);
    mnuScan_->setEnabled(btnScan_->isEnabled());
}

void TfrmTarnDev::SG1SetEditText(const QString& text) {
    // Ids have two decimal digits: a third character is cut off, a non-digit typed is dropped.
    QString kept = text.left(kIdDigits);
    if (!kept.isEmpty() && !kept.back().isDigit())
        kept.chop(1);
    if (kept != text)
        edId_->setText(kept);
}

void TfrmTarnDev::CommitIdEdit() {
    bool numeric = false;
    const int newId = edId_->text().toInt(&numeric);
    if (!numeric || newId < 1)
        return;
    switch (setup_.ChangeId(oldIdText_.toInt(), newId)) {
        case DeviceSetup::IdChange::Changed:
            oldIdText_ = IdText(newId);
            SG1_->item(editRow_, ColId)->setText(oldIdText_);
            ShowSelection();
            break;
        case DeviceSetup::IdChange::Duplicate:
        case DeviceSetup::IdChange::Failed:
            edId_->setText(oldIdText_);
            break;
        case DeviceSetup::IdChange::Ignored:
            break;
    }
}

void TfrmTarnDev::EndIdEdit() {
    if (!idEditMode_)
        return;
    idEditMode_ = false;
    edId_->hide();
    SG1_->item(editRow_, ColId)->setText(oldIdText_);
    SetEditingControlsEnabled(true);
    SelectRow(editRow_);
    SG1_->setFocus();
}

bool TfrmTarnDev::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edId_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            CommitIdEdit();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
            IsArrowKey(key)) {
            EndIdEdit();
            return true;
        }
    }
    if (watched == SG1_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (idEditMode_) {
            // A press outside the id cell ends editing; the press still selects its row.
            EndIdEdit();
            const int row = SG1_->rowAt(press->position().toPoint().y());
            if (row >= 0)
                SelectRow(row);
            return true;
        }
        if (press->button() == Qt::RightButton) {
            const int row = SG1_->rowAt(press->position().toPoint().y());
            if (row >= 0)
                SelectRow(row);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTarnDev::done(int result) {
    if (waiting_)
        return;  // the bus's answer still has to arrive in this session
    EndIdEdit();
    if (result != QDialog::Accepted)
        cancelled_ = true;
    setup_.Finish(!cancelled_);
    SavePosition(this, settings_);
    for (QWidget* window : {mainWindow_.data(), controller_.data()}) {
        if (window != nullptr)
            window->setEnabled(true);
    }
    QDialog::done(result);
    emit devicesChosen();
}
