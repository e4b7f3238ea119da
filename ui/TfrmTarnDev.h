// The device setup dialog: the serial port selector, the grid of devices on the bus, Scan,
// the choice of player and recorder (or the player's edit terminal instead of a recorder), and
// changing a device's id in the grid. It shows and edits a DeviceSetup session; OK keeps the
// edited device list, Cancel (also the title bar's close) puts everything back as it was.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <vector>

#include "ui/TfrmWait.h"

class CaptionTable;
class DeviceSetup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class SettingsFile;

class TfrmTarnDev : public QDialog {
    Q_OBJECT

public:
    // Grid columns and their widths in pixels.
    enum Column { ColNumber, ColId, ColCategory, ColName, ColumnCount };
    // The grid's first row stands for "no device".
    static constexpr int kNoDeviceRow = 0;

    // settings: where the dialog keeps its window position.
    TfrmTarnDev(DeviceSetup& setup, const SettingsFile& settings, const CaptionTable& captions,
                QWidget* parent = nullptr);

    // The folder the Device... list reads in place of "/" (tests build a /dev-like one).
    void SetDeviceRoot(const QString& root) { deviceRoot_ = root; }
    // The progress window the scan shows its gauge in; none: the scan shows no gauge.
    void SetProgressWindow(TfrmWait* window) { progressWindow_ = window; }
    // The windows disabled while the dialog shows (either may be none). Not owned.
    void SetGuardedWindows(QWidget* mainWindow, QWidget* controller);

    DeviceSetup& setup() { return setup_; }
    // True unless the dialog was last closed with OK.
    bool cancelled() const { return cancelled_; }
    // The grid row showing the device of this id, or -1.
    int RowOfDevice(int id) const;

    // The category's name as the grid shows it.
    QString CategoryName(int category) const;

signals:
    // The dialog closed and the player may have changed: whatever depends on the player's
    // capabilities asks again.
    void devicesChosen();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void FitColumnsToTexts();
    void BuildPopupMenu();
    void ApplyTexts(const CaptionTable& captions);
    void FormShow();
    // Asks the open port's known devices whether they are there, then fills the grid.
    void RefreshAndShow();
    void FillDeviceGrid();
    void ShowSelection();
    void ShowPort();
    // Each COM item of the selector names the device its setting stands for.
    void ShowPortDevices();
    // Says why the port chosen last would not open, and what to do about a refused access.
    void ShowPortRefusal();
    // Why path could not serve as the bus's port, in the user's words.
    QString RefusalText(const QString& path, uint32_t error) const;
    void UpdateSelectButtons(int row);
    QString SelectedLabel(int id) const;
    int WorkingIndexOfRow(int row) const;
    int CurrentRow() const;
    void SelectRow(int row);

    void cbComChange(int index);
    // Device...: the serial devices present; the chosen one becomes the selected port's device.
    void btnDeviceClick();
    void btnScanClick();
    void SetWaiting(bool waiting);
    void btnPSelClick();
    void btnRSelClick();
    void cbEditClick(bool checked);
    void SG1Click();
    void PopupMenu1Popup(const QPoint& position);
    void mnuChIDClick();
    void SG1SetEditText(const QString& text);
    void CommitIdEdit();
    void EndIdEdit();
    void SetEditingControlsEnabled(bool enabled);

    DeviceSetup& setup_;
    const SettingsFile& settings_;
    const CaptionTable& captions_;
    QString deviceRoot_;
    QPointer<TfrmWait> progressWindow_;
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> controller_;

    QString textNoUse_, textNoDevice_, textNotConnected_;
    QString textCamera_, textPrinter_, textUnknown_, textScanTitle_;
    QString textPortDenied_, textPortFailed_, textNotTerminal_;

    QComboBox* cbCom_ = nullptr;
    QPushButton* btnDevice_ = nullptr;
    QTableWidget* SG1_ = nullptr;
    QPushButton* btnScan_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QLabel* lblSelP_ = nullptr;
    QLabel* lblPortError_ = nullptr;
    QLabel* lblSelR_ = nullptr;
    QFrame* pnlSelR_ = nullptr;
    QPushButton* btnPSel_ = nullptr;
    QPushButton* btnRSel_ = nullptr;
    QCheckBox* cbEdit_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    QAction* mnuScan_ = nullptr;
    QAction* mnuChID_ = nullptr;
    QLineEdit* edId_ = nullptr;

    std::vector<int> rowDevice_;  // grid row -> index in the working list (-1: no device)
    bool cancelled_ = true;
    bool idEditMode_ = false;
    bool waiting_ = false;
    QString oldIdText_;
    int editRow_ = -1;
};
