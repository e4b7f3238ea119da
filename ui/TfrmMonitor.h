// The link monitor: a diagnostic window that shows every exchange on the bus as it happens
// (request and reply frames, link result, serial error) and sends a raw request typed as eight
// hexadecimal bytes (destination id and seven command bytes). BREAK freezes the display; Send &
// Break sends and freezes on that very exchange. Offered only in debug mode.
#pragma once

#include <QDialog>
#include <QPointer>

#include "devices/MonitorText.h"
#include "link/CTarnIO.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TarnLink;

class TfrmMonitor : public QDialog {
    Q_OBJECT

public:
    explicit TfrmMonitor(QWidget* parent = nullptr);

    // The link whose exchanges are shown and on which Send sends; none detaches.
    void SetLink(TarnLink* link);

    // Shows one exchange, unless BREAK is checked or no link is attached.
    void ShowTrace(const TarnTrace& trace);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildLayout();
    void Attach();
    void Detach();
    void Display(const TarnTrace& trace);
    void btnSendClick();
    void btnSendBreakClick();
    // Posts the entry to the link; the keys wait for its answer, which shows (and with
    // freezeAfter checks BREAK) when it comes.
    void Send(bool freezeAfter);
    void SetSending(bool sending);
    static TarnTrace SendOnce(TarnLink& link, const EntryBytes& bytes);

    TarnLink* link_ = nullptr;
    QMetaObject::Connection traceConnection_;
    QLabel* pnlTD_ = nullptr;
    QLabel* pnlRD_ = nullptr;
    QLabel* pnlCErr_ = nullptr;
    QLabel* pnlJErr_ = nullptr;
    QCheckBox* cbBreak_ = nullptr;
    QLineEdit* edSend_ = nullptr;
    QPushButton* btnSend_ = nullptr;
    QPushButton* btnSendBreak_ = nullptr;
};
