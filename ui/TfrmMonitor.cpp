#include "ui/TfrmMonitor.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "devices/MonitorText.h"
#include "link/TarnLink.h"

namespace {

const QString kEmptyFrame = QStringLiteral("00:00:00:00:00:00:00:00:00:00:00:");
const QString kEmptyEntry = QStringLiteral("00:00:00:00:00:00:00:00:");
constexpr int kSerialErrorDigits = 4;
constexpr int kLinkResultDigits = 2;

// A black panel with fixed-pitch text in the given colour.
QLabel* DisplayPanel(const char* name, const QString& text, const char* colour, QWidget* parent) {
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    panel->setStyleSheet(
        QStringLiteral("background: black; color: %1; padding: 2px;").arg(QLatin1String(colour)));
    panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return panel;
}

}  // namespace

TfrmMonitor::TfrmMonitor(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmMonitor"));
    setWindowTitle(QStringLiteral("TARN MONITOR"));
    setModal(false);
    BuildLayout();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMonitor::BuildLayout() {
    pnlTD_ = DisplayPanel("pnlTD", kEmptyFrame, "aqua", this);
    pnlRD_ = DisplayPanel("pnlRD", kEmptyFrame, "aqua", this);
    pnlCErr_ = DisplayPanel("pnlCErr", QStringLiteral("0000"), "fuchsia", this);
    pnlJErr_ = DisplayPanel("pnlJErr", QStringLiteral("00"), "fuchsia", this);
    cbBreak_ = new QCheckBox(QStringLiteral("BREAK"), this);
    cbBreak_->setObjectName(QStringLiteral("cbBreak"));
    edSend_ = new QLineEdit(kEmptyEntry, this);
    edSend_->setObjectName(QStringLiteral("edSend"));
    edSend_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Numbers the entered bytes by their place in the frame (bytes 3 to 10, counted from 1).
    auto* lblPlaces = new QLabel(QStringLiteral(" 3: 4: 5: 6: 7: 8: 9:10: "), this);
    lblPlaces->setObjectName(QStringLiteral("lblPlaces"));
    lblPlaces->setFont(edSend_->font());
    btnSend_ = new QPushButton(QStringLiteral("Send"), this);
    btnSend_->setObjectName(QStringLiteral("btnSend"));
    btnSendBreak_ = new QPushButton(QStringLiteral("Send && Break"), this);
    btnSendBreak_->setObjectName(QStringLiteral("btnSendBreak"));
    connect(btnSend_, &QPushButton::clicked, this, &TfrmMonitor::btnSendClick);
    connect(btnSendBreak_, &QPushButton::clicked, this, &TfrmMonitor::btnSendBreakClick);

    auto* grid = new QGridLayout(this);
    grid->addWidget(pnlTD_, 0, 0, 1, 4);
    grid->addWidget(pnlRD_, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("COM ERROR"), this), 2, 0);
    grid->addWidget(pnlCErr_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("TARN ERROR"), this), 2, 2);
    grid->addWidget(pnlJErr_, 2, 3);
    grid->addWidget(cbBreak_, 3, 0);
    grid->addWidget(lblPlaces, 4, 0, 1, 4);
    grid->addWidget(edSend_, 5, 0, 1, 4);
    grid->addWidget(btnSend_, 6, 1);
    grid->addWidget(btnSendBreak_, 6, 2, 1, 2);
}

void TfrmMonitor::SetLink(TarnLink* link) {
    Detach();
    link_ = link;
    if (isVisible())
        Attach();
}

void TfrmMonitor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Attach();
}

void TfrmMonitor::hideEvent(QHideEvent* event) {
    Detach();
    QDialog::hideEvent(event);
}

void TfrmMonitor::Attach() {
    if (link_ == nullptr || traceConnection_)
        return;
    // Traces come from the link thread; the queued connection brings each one here as a copy.
    traceConnection_ = connect(&link_->IO(), &CTarnIO::Traced, this, &TfrmMonitor::ShowTrace,
                               Qt::QueuedConnection);
}

void TfrmMonitor::Detach() {
    if (traceConnection_)
        disconnect(traceConnection_);
    traceConnection_ = {};
}

void TfrmMonitor::ShowTrace(const TarnTrace& trace) {
    if (link_ == nullptr || cbBreak_->isChecked())
        return;
    Display(trace);
}

void TfrmMonitor::Display(const TarnTrace& trace) {
    pnlTD_->setText(BytesToHexText(trace.request));
    pnlRD_->setText(BytesToHexText(trace.reply));
    pnlJErr_->setText(LastDecimalDigits(static_cast<uint32_t>(trace.result), kLinkResultDigits));
    pnlCErr_->setText(LastDecimalDigits(trace.serialError, kSerialErrorDigits));
}

void TfrmMonitor::btnSendClick() {
    Send(false);
}

void TfrmMonitor::btnSendBreakClick() {
    // The freeze comes with the send's own answer: the trace of its exchange is queued ahead of
    // it and shows, the polls after it are queued behind and stay out.
    Send(true);
}

void TfrmMonitor::Send(bool freezeAfter) {
    if (link_ == nullptr)
        return;
    const EntryBytes bytes = ParseHexEntry(edSend_->text());
    edSend_->setText(BytesToHexText(bytes));
    SetSending(true);
    link_->Post<TarnTrace>(
        this, [link = link_, bytes] { return SendOnce(*link, bytes); },
        [this, freezeAfter](TarnTrace sent) {
            SetSending(false);
            ShowTrace(sent);
            if (freezeAfter)
                cbBreak_->setChecked(true);
        });
}

TarnTrace TfrmMonitor::SendOnce(TarnLink& link, const EntryBytes& bytes) {
    TarnCommand command{};
    std::copy(bytes.begin() + 1, bytes.end(), command.begin());
    TarnTrace sent;
    // One exchange, never retried.
    link.Run([&](CTarnIO& io) {
        io.PrepareFrame(bytes[0], command);
        sent.result = io.Transact();
        sent.request = io.Request();
        sent.reply = io.Reply();
        sent.serialError = io.Comm().LastSystemError();
        return true;
    });
    return sent;
}

void TfrmMonitor::SetSending(bool sending) {
    // One send at a time: the keys wait for the answer.
    btnSend_->setEnabled(!sending);
    btnSendBreak_->setEnabled(!sending);
}
