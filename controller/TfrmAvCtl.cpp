#include "controller/TfrmAvCtl.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "config/CaptionTable.h"
#include "controller/ControllerAccessible.h"
#include "controller/ControllerDevices.h"
#include "controller/KeyAutoRepeat.h"
#include "controller/SkinKey.h"
#include "controller/SkinPicture.h"
#include "controller/SoundPlayer.h"
#include "edit/SceneList.h"
#include "link/CComm.h"
#include "link/TarnVtr.h"
#include "ui/ApplyCaptions.h"

namespace {

// The dial sinks this far while pressed, as a pushed-in knob.
const QPoint kDialPressOffset(1, 2);

}  // namespace

TfrmAvCtl::TfrmAvCtl(const ControllerParts& parts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      parts_(parts),
      remote_(parts.link, parts.vtr, parts.sys, parts.clock, parts.devices),
      drag_(*this) {
    // Before any key or picture exists: one described as a plain widget first would stay so.
    InstallControllerAccessibility();
    setObjectName(QStringLiteral("frmAvCtl"));
    setWindowTitle(QStringLiteral("VCR Controller"));
    // The window holds the focus for the keypad, but is no stop of Tab's: a round of Tab
    // visits only what shows a focus frame.
    setFocusPolicy(Qt::ClickFocus);
    skin_.Load(parts_.folder, parts_.captions);
    resize(627, 242);
    BuildPictures();
    BuildLabels();
    BuildKeys();
    BuildCovers();
    BuildPopupMenu();
    autoRepeat_ = new KeyAutoRepeat(this);
    ConnectRemote();
    ConnectTransportKeys();
    ConnectEditKeys();

    tmDev_.setObjectName(QStringLiteral("tmDev"));
    tmDev_.setSingleShot(true);
    tmDev_.setInterval(kDeviceSetupDelayMs);
    connect(&tmDev_, &QTimer::timeout, this, &TfrmAvCtl::tmDevTimer);
    tmPrg_.setObjectName(QStringLiteral("tmPrg"));
    tmPrg_.setInterval(kArrowFlashMs);
    connect(&tmPrg_, &QTimer::timeout, this, &TfrmAvCtl::tmPrgTimer);

    // The link thread posts a change notice after every pass that changed something; it arrives
    // here queued, on this thread.
    connect(&parts_.vtr, &TarnVtr::Changed, this, &TfrmAvCtl::OnVtrChanged, Qt::QueuedConnection);
    connect(&parts_.scenes, &SceneList::currentChanged, this, [this] {
        UpdateEditButtons();
        UpdateEntryButton();
    });
    connect(&parts_.scenes, &SceneList::selectionChanged, this, [this] {
        UpdateEditButtons();
        UpdateEntryButton();
    });
    connect(&parts_.scenes, &SceneList::rowsChanged, this, [this] {
        UpdateEditButtons();
        UpdateEntryButton();
    });
    // Nothing is known about the deck yet: the first report counts as a change.
    parts_.vtr.ForgetMode();
    remote_.EnableTransport(false);
    UpdateEditButtons();
    UpdateEntryButton();
}

TfrmAvCtl::~TfrmAvCtl() {
    // Children going away must not call back into a window that is already half destroyed.
    for (QObject* child : children())
        child->disconnect(this);
}

void TfrmAvCtl::SetPlacement(std::function<void(QWidget*)> restore,
                             std::function<void(QWidget*)> save) {
    restorePosition_ = std::move(restore);
    savePosition_ = std::move(save);
}

void TfrmAvCtl::SetOperations(std::function<void(AutoKind)> autoStart,
                              std::function<void()> readRecorderPosition) {
    autoStart_ = std::move(autoStart);
    readRecorderPosition_ = std::move(readRecorderPosition);
}

// ---- construction ---------------------------------------------------------------------------

SkinPicture* TfrmAvCtl::AddPicture(const QString& name, const QString& look, QWidget* parent) {
    auto* label = new SkinPicture(parent);
    label->setObjectName(name);
    label->SetFocusColour(skin_.FocusColour());
    const QRect place = skin_.Place(name);
    label->setGeometry(parent == this ? place : QRect(QPoint(0, 0), place.size()));
    label->setPixmap(skin_.Picture(name, look));
    label->installEventFilter(this);
    return label;
}

void TfrmAvCtl::BuildPictures() {
    imgFPanel_ = AddPicture(QStringLiteral("imgFPanel"), QString(), this);
    // The panel's rounded corners are transparent: the window takes their shape.
    const QPixmap panel = skin_.Picture(QStringLiteral("imgFPanel"));
    if (!panel.isNull()) {
        const QImage alpha = panel.toImage().scaled(skin_.WindowSize());
        setMask(QBitmap::fromImage(alpha.createAlphaMask()));
    }
    imgDeckp_ = AddPicture(QStringLiteral("imgDeckp"), QStringLiteral("grey"), this);
    imgDeckp_->setCursor(Qt::PointingHandCursor);
    imgDeckr_ = AddPicture(QStringLiteral("imgDeckr"), QStringLiteral("grey"), this);
    imgDeckr_->setCursor(Qt::PointingHandCursor);
    imgPtoR_ = AddPicture(QStringLiteral("imgPtoR"), QStringLiteral("idle"), this);
    imgLumpPause_ = AddPicture(QStringLiteral("imgLumpPause"), QStringLiteral("off"), this);
    imgJog_ = AddPicture(QStringLiteral("imgJog"), QStringLiteral("shuttle"), this);
}

void TfrmAvCtl::BuildLabels() {
    auto makeLabel = [this](const QString& name, int pixelSize) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setGeometry(skin_.Place(name));
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
        font.setBold(true);
        font.setPixelSize(pixelSize);
        label->setFont(font);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->installEventFilter(this);
        return label;
    };
    lblScene_ = makeLabel(QStringLiteral("lblScene"), 13);
    lblScene_->setText(QStringLiteral("SCENE --"));
    lblID_ = makeLabel(QStringLiteral("lblID"), 13);
    lblID_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblID_->setCursor(Qt::PointingHandCursor);
    lblCounter_ = makeLabel(QStringLiteral("lblCounter"), 26);
    ShowNoDeckLabels();
}

void TfrmAvCtl::BuildKeys() {
    // Keypad keys pressed while a key has the focus reach the window: keys ignore them.
    for (const QString& name : skin_.KeyNames())
        new SkinKey(name, skin_, this);
}

void TfrmAvCtl::BuildCovers() {
    // Each cover is a panel over the keys that lie within it; opened, only the folded-back lid
    // shows.
    auto makeCover = [this](std::optional<KeyCover>& cover, const QString& panelName,
                            const QString& coverName, const QString& openedName) {
        auto* panel = new QWidget(this);
        panel->setObjectName(panelName);
        const QRect place = skin_.Place(panelName);
        panel->setGeometry(place);
        SkinPicture* lid = AddPicture(coverName, QString(), panel);
        lid->setCursor(Qt::PointingHandCursor);
        SkinPicture* opened = AddPicture(openedName, QString(), this);
        QList<SkinKey*> keys;
        for (const QString& name : skin_.KeyNames()) {
            if (place.contains(skin_.Place(name)))
                keys.append(key(name));
        }
        panel->raise();
        cover.emplace(panel, lid, opened, keys);
        return std::pair{lid, opened};
    };
    std::tie(imgPgmCover_, imgPrgOpen_) =
        makeCover(programCover_, QStringLiteral("pnlBtnCover1"), QStringLiteral("imgPgmCover"),
                  QStringLiteral("imgPrgOpen"));
    std::tie(imgRecCover_, imgRecOpen_) =
        makeCover(recordCover_, QStringLiteral("pnlBtnCover2"), QStringLiteral("imgRecCover"),
                  QStringLiteral("imgRecOpen"));
}

void TfrmAvCtl::ChainTabOrder() {
    // Made in the order of the skin's file, the keys would be visited alphabetically.
    QWidget* previous = nullptr;
    for (const QString& name : skin_.TabOrder()) {
        auto* next = findChild<QWidget*>(name);
        if (next == nullptr)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void TfrmAvCtl::BuildPopupMenu() {
    pm1_ = new QMenu(this);
    pm1_->setObjectName(QStringLiteral("pm1"));
    auto addMenu = [this](const QString& name, const QString& title) {
        QMenu* menu = pm1_->addMenu(title);
        menu->setObjectName(name);
        return menu;
    };
    auto addItem = [this](QMenu* menu, const QString& name, const QString& text) {
        QAction* item = menu->addAction(text);
        item->setObjectName(name);
        // The window's own keys (Ctrl+F4, F1) work while the menu is closed too.
        addAction(item);
        return item;
    };
    QMenu* file = addMenu(QStringLiteral("pmFile"), QStringLiteral("&File"));
    QAction* close = addItem(file, QStringLiteral("pmClose"), QStringLiteral("&Close"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(close, &QAction::triggered, this, &QWidget::close);
    QMenu* setup = addMenu(QStringLiteral("pmSetup"), QStringLiteral("&Setup"));
    connect(addItem(setup, QStringLiteral("pmDevices"), QStringLiteral("&Devices...")),
            &QAction::triggered, this, &TfrmAvCtl::RunDeviceSetup);
    // The program's own commands beside the PROGRAM keys (Resume Auto Rec) join it from outside.
    pmProgram_ = addMenu(QStringLiteral("pmProgram"), QStringLiteral("&Program"));
    QMenu* window = addMenu(QStringLiteral("pmWindow"), QStringLiteral("&Window"));
    pmTop_ = addItem(window, QStringLiteral("pmTop"), QStringLiteral("Always On &Top"));
    pmTop_->setCheckable(true);
    connect(pmTop_, &QAction::toggled, this, &TfrmAvCtl::ToggleAlwaysOnTop);
    QMenu* help = addMenu(QStringLiteral("pmHelp"), QStringLiteral("&Help"));
    QAction* contents = addItem(help, QStringLiteral("pmContents"), QStringLiteral("&Contents"));
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contents, &QAction::triggered, this, &TfrmAvCtl::helpContentsRequested);
    connect(addItem(help, QStringLiteral("pmKeyword"), QStringLiteral("&Keyword")),
            &QAction::triggered, this, &TfrmAvCtl::helpKeywordRequested);
    help->addSeparator();
    connect(addItem(help, QStringLiteral("pmAbout"), QStringLiteral("&About...")),
            &QAction::triggered, this, &TfrmAvCtl::aboutRequested);
}

SkinKey* TfrmAvCtl::key(const QString& name) const {
    return findChild<SkinKey*>(name, Qt::FindDirectChildrenOnly);
}

QLabel* TfrmAvCtl::picture(const QString& name) const {
    return findChild<QLabel*>(name);
}

QWidget* TfrmAvCtl::cover(int which) const {
    return which == 1 ? programCover_->panel() : recordCover_->panel();
}

bool TfrmAvCtl::coverOpen(int which) const {
    return which == 1 ? programCover_->IsOpen() : recordCover_->IsOpen();
}

// ---- show and close -------------------------------------------------------------------------

void TfrmAvCtl::showEvent(QShowEvent* event) {
    // Without a focus of its own, activation would hand the focus to the first key in the tab
    // chain; the window takes it, and the keypad reaches it there.
    if (focusWidget() == nullptr)
        setFocus(Qt::OtherFocusReason);
    QWidget::showEvent(event);
    // A restore from the task bar, or the re-show after a window flag change, is not a new
    // showing.
    if (event->spontaneous() || changingFlags_)
        return;
    if (!shownOnce_)
        FormFirstShow();
    FormEveryShow();
}

void TfrmAvCtl::FormFirstShow() {
    shownOnce_ = true;
    ApplyCaptions(this, parts_.captions);
    DescribeController(*this, parts_.captions);
    // Only once the pictures take the focus: the toolkit leaves out of an order what takes none.
    ChainTabOrder();
    const QString caption = parts_.captions.CaptionText(QStringLiteral("TI_CTL"));
    setWindowTitle(caption);
    if (skin_.WindowSize().isValid())
        setFixedSize(skin_.WindowSize());
    remote_.SelectView(DeckRemote::View::None);
    remote_.SetShuttle(true);
    if (restorePosition_)
        restorePosition_(this);
}

void TfrmAvCtl::FormEveryShow() {
    autoRepeat_->ResetTag();
    UpdateEditButtons();
    // No stored devices, or a player that is not among them: the user chooses first.
    if (!parts_.devices.LoadAndFindPlayer())
        tmDev_.start();
    remote_.ConnectDefault();
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    if (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

void TfrmAvCtl::tmDevTimer() {
    remote_.Disconnect();
    parts_.devices.ShowDeviceSetup();
    remote_.ConnectDefault();
}

void TfrmAvCtl::RunDeviceSetup() {
    remote_.RunDeviceSetup([this] { return isVisible(); });
    UpdateEditButtons();
    UpdateEntryButton();
}

void TfrmAvCtl::closeEvent(QCloseEvent* event) {
    tmDev_.stop();
    autoRepeat_->Stop();
    remote_.Disconnect();
    parts_.comm.Close();
    if (savePosition_)
        savePosition_(this);
    QWidget::closeEvent(event);
}

// ---- transport ------------------------------------------------------------------------------

void TfrmAvCtl::ConnectTransportKeys() {
    auto onPress = [this](const char* name, auto handler) {
        connect(key(QLatin1String(name)), &QAbstractButton::pressed, this, handler);
    };
    onPress("btnPlay", [this] { btnPlayMouseDown(); });
    onPress("btnPause", [this] { btnPauseMouseDown(); });
    onPress("btnStop", [this] { remote_.SendMode(ModeStop); });
    onPress("btnEject", [this] { remote_.SendMode(ModeEject); });
    onPress("btnSlow", [this] { remote_.SendMode(ModeSlowForward); });
    onPress("btnSlowR", [this] { remote_.SendMode(ModeSlowReverse); });
    onPress("btnStep", [this] { remote_.Step(true); });
    onPress("btnStepR", [this] { remote_.Step(false); });
    onPress("btnRec", [this] { btnRecMouseDown(); });
    onPress("btnFF", [this] { remote_.WindPress(true); });
    onPress("btnRev", [this] { remote_.WindPress(false); });
    onPress("btnJogR", [this] { remote_.Jog(false); });
    onPress("btnJogF", [this] { remote_.Jog(true); });
    for (const char* wind : {"btnFF", "btnRev"})
        connect(key(QLatin1String(wind)), &QAbstractButton::released, &remote_,
                &DeckRemote::WindRelease);
    connect(key(QStringLiteral("btnMin")), &QAbstractButton::clicked, this,
            &QWidget::showMinimized);
    connect(key(QStringLiteral("btnClose")), &QAbstractButton::clicked, this, &QWidget::close);
    connect(key(QStringLiteral("btnPlayer")), &QAbstractButton::clicked, this, [this] {
        using View = DeckRemote::View;
        remote_.SelectView(remote_.view() == View::Player ? View::Recorder : View::Player);
        UpdateEditButtons();
    });
}

void TfrmAvCtl::btnPlayMouseDown() {
    remote_.Play();
}

void TfrmAvCtl::btnPauseMouseDown() {
    remote_.Pause();
}

void TfrmAvCtl::btnRecMouseDown() {
    remote_.Record();
}

bool TfrmAvCtl::InsideDial(const QPoint& at) const {
    const QPoint d = at - skin_.DialCentre();
    return d.x() * d.x() + d.y() * d.y() <= skin_.DialRadius() * skin_.DialRadius();
}

void TfrmAvCtl::DialPress(const QPoint& at) {
    if (dialPressed_ || !imgJog_->isEnabled() || !InsideDial(at))
        return;
    parts_.sounds.Play(Sound::DialPress);
    dialPressed_ = true;
    imgJog_->move(imgJog_->pos() + kDialPressOffset);
}

void TfrmAvCtl::DialRelease(const QPoint& at) {
    if (!dialPressed_)
        return;
    dialPressed_ = false;
    imgJog_->move(imgJog_->pos() - kDialPressOffset);
    parts_.sounds.Play(Sound::DialRelease);
    if (InsideDial(at))
        remote_.ToggleDial();
    else
        remote_.SetShuttle(remote_.shuttle());
}

// ---- keyboard -------------------------------------------------------------------------------

void TfrmAvCtl::keyPressEvent(QKeyEvent* event) {
    const std::optional<KeypadAction> action = KeypadActionFor(event->key(), event->modifiers());
    if (keyHeld_) {
        event->accept();
        return;
    }
    // Only the scene and point keys repeat; any other key acts once until it is let go.
    if (!action || !RepeatsWhileHeld(*action))
        keyHeld_ = true;
    if (action)
        OnKeypad(*action, true);
    else
        QWidget::keyPressEvent(event);
}

void TfrmAvCtl::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    keyHeld_ = false;
    const std::optional<KeypadAction> action = KeypadActionFor(event->key(), event->modifiers());
    if (action)
        OnKeypad(*action, false);
}

void TfrmAvCtl::OnKeypad(KeypadAction action, bool down) {
    if (action == KeypadAction::DialPress) {
        const QPoint centre = skin_.DialCentre();
        down ? DialPress(centre) : DialRelease(centre);
        return;
    }
    if (!down) {
        // The key shows pressed until its keypad key is let go.
        if (const QPointer<SkinKey> shown = keypadKeysDown_.take(static_cast<int>(action)))
            shown->setDown(false);
        if (ActsOnRelease(action))
            remote_.WindRelease();
        return;
    }
    const KeypadTarget target = KeypadTargetFor(action, remote_.shuttle());
    SkinKey* k = key(QLatin1String(target.keyName));
    // A key under a closed cover is out of the keyboard's reach.
    if (!k->isEnabled() || k->isHidden())
        return;
    if (target.clicks)
        k->click();
    else
        emit k->pressed();
    k->setDown(true);
    keypadKeysDown_.insert(static_cast<int>(action), k);
}

// ---- window behaviour -----------------------------------------------------------------------

bool TfrmAvCtl::StartsDrag(QObject* watched) const {
    return watched == imgFPanel_ || watched == lblScene_ || watched == lblCounter_ ||
           watched == imgPtoR_ || watched == imgPrgOpen_ || watched == imgRecOpen_;
}

bool TfrmAvCtl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
        // The PROGRAM cover offers the program's commands, open or closed.
        if (watched == imgPgmCover_ || watched == imgPrgOpen_) {
            pmProgram_->popup(at);
            return true;
        }
        const bool offersMenu = StartsDrag(watched) || watched == lblID_ || watched == imgDeckp_ ||
                                watched == imgDeckr_ || watched == imgJog_;
        if (offersMenu) {
            pm1_->popup(at);
            return true;
        }
        return false;
    }
    return HandlePictureMouse(watched, event);
}

bool TfrmAvCtl::HandlePictureMouse(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mouse->position().toPoint();
    if (watched == imgJog_) {
        // The right button opens the popup menu, which takes its release: the dial is the
        // other buttons', whose press and release both reach it.
        if (mouse->button() == Qt::RightButton)
            return false;
        if (type == QEvent::MouseButtonPress)
            DialPress(local);
        else if (type == QEvent::MouseButtonRelease)
            DialRelease(local);
        return type != QEvent::MouseMove;
    }
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        const bool drags = StartsDrag(watched);
        if (drags)
            drag_.Press(global);
        return drags;
    }
    if (type == QEvent::MouseMove)
        return drag_.Move(global);
    if (type != QEvent::MouseButtonRelease || mouse->button() != Qt::LeftButton)
        return false;
    const WindowDrag::Ending ending = drag_.Release();
    if (!ending.wasClick)
        return true;
    if (watched == imgPgmCover_ || watched == imgPrgOpen_)
        ToggleCover(1);
    else if (watched == imgRecCover_ || watched == imgRecOpen_)
        ToggleCover(2);
    else if (watched == imgDeckp_ && remote_.view() != DeckRemote::View::Player)
        remote_.SelectView(DeckRemote::View::Player);
    else if (watched == imgDeckr_ && remote_.view() != DeckRemote::View::Recorder)
        remote_.SelectView(DeckRemote::View::Recorder);
    else if (watched == lblID_)
        RunDeviceSetup();
    return ending.wasDragging;
}

void TfrmAvCtl::ToggleCover(int which) {
    parts_.sounds.Play(Sound::Cover);
    (which == 1 ? programCover_ : recordCover_)->Toggle();
}

void TfrmAvCtl::ToggleAlwaysOnTop(bool on) {
    // Changing the flag recreates the native window; keep it where it is and as it was.
    const QPoint place = pos();
    const bool shown = isVisible();
    changingFlags_ = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    move(place);
    if (shown)
        show();
    changingFlags_ = false;
}
