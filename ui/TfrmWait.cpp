#include "ui/TfrmWait.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "config/CaptionTable.h"
#include "ui/ApplyCaptions.h"
#include "ui/WindowPositions.h"

namespace {

constexpr QSize kClientSize{252, 96};
constexpr int kIconSize = 32;
// The designed places: the text right of the icon, the gauge's panel and Stop below it.
constexpr int kTextLeft = 56;
constexpr int kTextRightMargin = 6;
constexpr int kPanelLeft = 8;
constexpr int kPanelRightMargin = 11;
constexpr QSize kStopSize{65, 25};
// What a title bar takes beside its text: the window's icon, the buttons and their margins,
// about three title-bar heights on the desktops we tried.
constexpr int kTitleBarAllowance = 3 * kIconSize;

int WidestLine(const QString& text, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

}  // namespace

TfrmWait::TfrmWait(const CaptionTable& captions, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmWait"));
    BuildLayout();
    ApplyCaptions(this, captions);
    waitText_ = lblWait_->text();
    const QString title = captions.CaptionText(QStringLiteral("MB_TI_CLOSE"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Please wait...") : title);
    LayOut();
}

void TfrmWait::BuildLayout() {
    // The hourglass over the window says that the program is busy, not waiting for input.
    setCursor(Qt::WaitCursor);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(13, 6, kIconSize, kIconSize);
    image1_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize));

    lblWait_ = new QLabel(QStringLiteral("Please wait..."), this);
    lblWait_->setObjectName(QStringLiteral("lblWait"));
    // Room for the two lines of a long run's progress beside the icon; one line sits where the
    // window has always shown "Please wait...".
    lblWait_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    panel1_ = new QFrame(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    gauge1_ = new QProgressBar(panel1_);
    gauge1_->setObjectName(QStringLiteral("Gauge1"));
    gauge1_->setRange(0, 100);
    gauge1_->setValue(0);
    gauge1_->setTextVisible(false);
    gauge1_->setStyleSheet(
        QStringLiteral("QProgressBar { border: none; background: palette(button); }"
                       "QProgressBar::chunk { background: #0000c0; }"));

    btnAbort_ = new QPushButton(QStringLiteral("Stop"), this);
    btnAbort_->setObjectName(QStringLiteral("btnAbort"));
    btnAbort_->setCursor(Qt::ArrowCursor);
    connect(btnAbort_, &QPushButton::clicked, this, &TfrmWait::btnAbortClick);
}

int TfrmWait::WidthForTexts() const {
    // Nothing is cut: a time left shown without its last digit, or a title elided, says
    // something else than the run does.
    const int text =
        kTextLeft + WidestLine(lblWait_->text(), lblWait_->fontMetrics()) + kTextRightMargin;
    QFont titleFont = font();
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarAllowance;
    return std::max({kClientSize.width(), text, title});
}

void TfrmWait::LayOut() {
    // Lines beyond the two beside the icon push the gauge and Stop down.
    const int lines = static_cast<int>(lblWait_->text().count(u'\n')) + 1;
    const int extraHeight = std::max(0, lines - 2) * lblWait_->fontMetrics().lineSpacing();
    // While it shows the window only grows: a width that follows every new line would jump.
    const int width = std::max(WidthForTexts(), isVisible() ? this->width() : 0);
    setFixedSize(width, kClientSize.height() + extraHeight);
    lblWait_->setGeometry(kTextLeft, 4, width - kTextLeft - kTextRightMargin, 38 + extraHeight);
    const int panelWidth = width - kPanelLeft - kPanelRightMargin;
    panel1_->setGeometry(kPanelLeft, 44 + extraHeight, panelWidth, 16);
    gauge1_->setGeometry(2, 2, panelWidth - 4, 12);
    btnAbort_->setGeometry((width - kStopSize.width()) / 2, 67 + extraHeight, kStopSize.width(),
                           kStopSize.height());
}

void TfrmWait::SetGuardedWindows(QWidget* mainWindow, QWidget* controller) {
    mainWindow_ = mainWindow;
    controller_ = controller;
}

void TfrmWait::PostShow(const QString& title, int flags) {
    // A queued call: the engine posts from the link thread, which must never touch a widget.
    QMetaObject::invokeMethod(
        this, [this, title, flags] { HandleShow(title, flags); }, Qt::QueuedConnection);
}

void TfrmWait::PostClose() {
    QMetaObject::invokeMethod(
        this, [this] { CloseIfVisible(); }, Qt::QueuedConnection);
}

void TfrmWait::PostRunProgress(const QString& text, int percent) {
    QMetaObject::invokeMethod(
        this, [this, text, percent] { ShowRunProgress(text, percent); }, Qt::QueuedConnection);
}

void TfrmWait::PostGauge(int percent) {
    QMetaObject::invokeMethod(
        this, [this, percent] { SetGauge(percent); }, Qt::QueuedConnection);
}

void TfrmWait::ShowRunProgress(const QString& text, int percent) {
    const QSize before = size();
    lblWait_->setText(text);
    LayOut();
    // Grown, it must still leave the controller's keys free.
    if (size() != before && isVisible())
        KeepClearOfController();
    panel1_->setVisible(true);
    gauge1_->setValue(percent);
}

void TfrmWait::HandleShow(const QString& title, int flags) {
    if ((flags & kGaugeVisible) != 0)
        gauge1_->setValue(0);
    btnAbort_->setEnabled((flags & kStopDisabled) == 0);
    ShowAndRaise(title, (flags & kGaugeVisible) != 0, (flags & kStopVisible) != 0);
}

void TfrmWait::ShowDirect(const QString& title, bool gaugeVisible, bool stopVisible) {
    ShowAndRaise(title, gaugeVisible, stopVisible);
}

void TfrmWait::ShowAndRaise(const QString& title, bool gaugeVisible, bool stopVisible) {
    if (!title.isNull())
        setWindowTitle(title);
    LayOut();
    panel1_->setVisible(gaugeVisible);
    btnAbort_->setVisible(stopVisible);
    show();
    raise();
}

void TfrmWait::SetGauge(int percent) {
    gauge1_->setValue(percent);
}

void TfrmWait::CloseIfVisible() {
    if (isVisible())
        Finish();
}

void TfrmWait::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    stopRequested_ = false;
    // Only a first show takes the states: a show while showing must not take the disabled
    // states it caused itself.
    if (!guarding_) {
        guarding_ = true;
        mainWasEnabled_ = mainWindow_ ? mainWindow_->isEnabled() : true;
        controllerWasEnabled_ = controller_ ? controller_->isEnabled() : true;
        for (QWidget* window : {mainWindow_.data(), controller_.data()}) {
            if (window != nullptr && window->isVisible())
                window->setEnabled(false);
        }
    }
    CentreOnScreen();
}

void TfrmWait::CentreOnScreen() {
    ::CentreOnScreen(this);
    KeepClearOfController();
}

void TfrmWait::KeepClearOfController() {
    // Never over the controller's keys: they show what the decks do.
    if (controller_ && controller_->isVisible()) {
        const QRect frame(pos(), FrameSize(this));
        move(ClearOf(frame, controller_->frameGeometry(), WorkAreaAt(frame.center(), this)));
    }
}

void TfrmWait::closeEvent(QCloseEvent* event) {
    // The window manager's close (Alt+F4, a title bar button) must not end the wait behind the
    // operation's back: while Stop can be pressed it is Stop, otherwise it is refused.
    event->ignore();
    if (btnAbort_->isVisible() && btnAbort_->isEnabled())
        btnAbortClick();
}

void TfrmWait::Finish() {
    RestoreGuardedWindows();
    lblWait_->setText(waitText_);
    btnAbort_->setEnabled(true);
    hide();
    LayOut();
}

void TfrmWait::RestoreGuardedWindows() {
    if (!guarding_)
        return;
    guarding_ = false;
    if (mainWindow_)
        mainWindow_->setEnabled(mainWasEnabled_);
    if (controller_)
        controller_->setEnabled(controllerWasEnabled_);
}

void TfrmWait::btnAbortClick() {
    stopRequested_ = true;
    emit stopPressed();
    Finish();
}
