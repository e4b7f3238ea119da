#include "controller/TfrmAvCtl.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>

#include "config/CaptionTable.h"
#include "controller/ControllerAccessible.h"
#include "controller/ControllerDevices.h"
#include "controller/KeyAutoRepeat.h"
#include "controller/LampTable.h"
#include "controller/SkinKey.h"
#include "controller/SkinPicture.h"
#include "controller/SoundPlayer.h"
#include "edit/SceneList.h"
#include "link/CComm.h"
#include "link/Clock.h"
#include "link/TarnVtr.h"
#include "ui/ApplyCaptions.h"
#include "ui/EditHistory.h"

namespace {

const QColor kPowerOnColour(255, 0, 0);
const QColor kPowerOffColour(128, 128, 128);
const QString kZeroCounterText = QStringLiteral(" 00:00:00:00");
// The dial sinks this far while pressed, as a pushed-in knob.
const QPoint kDialPressOffset(1, 2);

// The transport keys that power and connection enable and disable together.
const QStringList kTransportKeys = {
    QStringLiteral("btnPlay"),  QStringLiteral("btnPause"), QStringLiteral("btnStep"),
    QStringLiteral("btnStepR"), QStringLiteral("btnSlow"),  QStringLiteral("btnFF"),
    QStringLiteral("btnSlowR"), QStringLiteral("btnRev"),   QStringLiteral("btnStop"),
    QStringLiteral("btnJogR"),  QStringLiteral("btnJogF"),  QStringLiteral("btnEject")};

// Lamp keys in the order of the Lamp enum.
const QStringList kLampKeyOrder = {QStringLiteral("btnRev"),   QStringLiteral("btnPlay"),
                                   QStringLiteral("btnFF"),    QStringLiteral("btnRec"),
                                   QStringLiteral("btnSlowR"), QStringLiteral("btnPause"),
                                   QStringLiteral("btnSlow"),  QStringLiteral("btnStop")};

}  // namespace

TfrmAvCtl::TfrmAvCtl(const ControllerParts& parts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      parts_(parts),
      remote_(parts.link, parts.vtr, parts.sys, parts.clock, parts.devices) {
    setObjectName(QStringLiteral("frmAvCtl"));
    setWindowTitle(QStringLiteral("VCR Controller"));
    setFocusPolicy(Qt::StrongFocus);
    skin_.Load(parts_.folder);
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

void TfrmAvCtl::SetOperations(std::function<void(int)> autoStart,
                              std::function<void()> readRecorderPosition) {
    autoStart_ = std::move(autoStart);
    readRecorderPosition_ = std::move(readRecorderPosition);
}

// ---- construction ---------------------------------------------------------------------------

QLabel* TfrmAvCtl::AddPicture(const QString& name, const QString& look, QWidget* parent) {
    auto* label = new SkinPicture(parent);
    label->setObjectName(name);
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
    lblCounter_->setText(kZeroCounterText);
    SetLabelColour(kPowerOffColour);
}

void TfrmAvCtl::BuildKeys() {
    // Keypad keys pressed while a key has the focus reach the window: keys ignore them.
    for (const QString& name : skin_.KeyNames())
        new SkinKey(name, skin_, this);
}

void TfrmAvCtl::BuildCovers() {
    // Each cover is a panel over its group of keys; opened, only the folded-back lid shows.
    auto makeCover = [this](const QString& panelName, const QString& coverName) {
        auto* panel = new QWidget(this);
        panel->setObjectName(panelName);
        panel->setGeometry(skin_.Place(panelName));
        QLabel* lid = AddPicture(coverName, QString(), panel);
        lid->setCursor(Qt::PointingHandCursor);
        return std::pair{panel, lid};
    };
    std::tie(pnlBtnCover1_, imgPgmCover_) =
        makeCover(QStringLiteral("pnlBtnCover1"), QStringLiteral("imgPgmCover"));
    std::tie(pnlBtnCover2_, imgRecCover_) =
        makeCover(QStringLiteral("pnlBtnCover2"), QStringLiteral("imgRecCover"));
    imgPrgOpen_ = AddPicture(QStringLiteral("imgPrgOpen"), QString(), this);
    imgRecOpen_ = AddPicture(QStringLiteral("imgRecOpen"), QString(), this);
    imgPrgOpen_->hide();
    imgRecOpen_->hide();
    pnlBtnCover1_->raise();
    pnlBtnCover2_->raise();
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
    return which == 1 ? pnlBtnCover1_ : pnlBtnCover2_;
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

void TfrmAvCtl::closeEvent(QCloseEvent* event) {
    tmDev_.stop();
    autoRepeat_->Stop();
    remote_.Disconnect();
    parts_.comm.Close();
    if (savePosition_)
        savePosition_(this);
    QWidget::closeEvent(event);
}

// ---- deck shown ----------------------------------------------------------------------------

void TfrmAvCtl::ConnectRemote() {
    connect(&remote_, &DeckRemote::transportChanged, this, &TfrmAvCtl::ShowTransport);
    connect(&remote_, &DeckRemote::powerShown, this,
            [this](bool on) { SetLabelColour(on ? kPowerOnColour : kPowerOffColour); });
    connect(&remote_, &DeckRemote::connected, this, [this](int id) {
        lblID_->setText(QStringLiteral("ID %1").arg(id, 2, 10, QLatin1Char('0')));
    });
    connect(&remote_, &DeckRemote::disconnected, this,
            [this] { lblCounter_->setText(kZeroCounterText); });
    connect(&remote_, &DeckRemote::viewSelected, this, &TfrmAvCtl::ShowView);
    connect(&remote_, &DeckRemote::lampsCleared, this, &TfrmAvCtl::ClearLamps);
    connect(&remote_, &DeckRemote::modeShown, this, &TfrmAvCtl::ShowLamps);
    connect(&remote_, &DeckRemote::shuttleChanged, this, &TfrmAvCtl::ShowDialMode);
    connect(&remote_, &DeckRemote::jogLampChanged, this, &TfrmAvCtl::SetJogLamp);
}

void TfrmAvCtl::SetDeckPictures(const QString& player, const QString& recorder) {
    imgDeckp_->setPixmap(skin_.Picture(QStringLiteral("imgDeckp"), player));
    imgDeckr_->setPixmap(skin_.Picture(QStringLiteral("imgDeckr"), recorder));
}

void TfrmAvCtl::ShowView(DeckRemote::View view, bool deckChanged) {
    if (deckChanged && view == DeckRemote::View::None) {
        SetDeckPictures(QStringLiteral("grey"), QStringLiteral("grey"));
    } else if (deckChanged && view == DeckRemote::View::Player) {
        SetDeckPictures(QStringLiteral("lit"), QStringLiteral("grey"));
        key(QStringLiteral("btnRec"))->setEnabled(false);
    } else if (deckChanged && view == DeckRemote::View::Recorder) {
        SetDeckPictures(QStringLiteral("grey"), QStringLiteral("red"));
        key(QStringLiteral("btnRec"))->setEnabled(true);
    }
    UpdateEntryButton();
}

void TfrmAvCtl::ShowTransport(bool on) {
    for (const QString& name : kTransportKeys)
        key(name)->setEnabled(on);
    imgJog_->setEnabled(on);
    const int player = parts_.devices.PlayerId();
    const int recorder = parts_.devices.RecorderId();
    const int device = remote_.device();
    if (on) {
        // The focus stays where the user left it: on a transport key, Space would drive the
        // deck, and a connect or a power report must never arm that by itself.
        if (device == player) {
            key(QStringLiteral("btnRec"))->setEnabled(false);
            imgDeckp_->setPixmap(skin_.Picture(QStringLiteral("imgDeckp"), QStringLiteral("lit")));
        } else if (device == recorder) {
            key(QStringLiteral("btnRec"))->setEnabled(true);
            imgDeckr_->setPixmap(skin_.Picture(QStringLiteral("imgDeckr"), QStringLiteral("red")));
        }
    } else {
        // A key losing its focus would pass it on to the next key in the chain.
        if (qobject_cast<SkinKey*>(focusWidget()) != nullptr)
            setFocus(Qt::OtherFocusReason);
        SetDeckPictures(QStringLiteral("grey"), QStringLiteral("grey"));
        for (const char* name : {"btnRec", "btnEdit", "btnPreroll"})
            key(QLatin1String(name))->setEnabled(false);
    }
    key(QStringLiteral("btnPlayer"))->setEnabled(on && player != 0 && recorder != 0);
}

// ---- status display -------------------------------------------------------------------------

void TfrmAvCtl::OnVtrChanged() {
    const DeckState state = parts_.vtr.TakeChanges();
    if (!isVisible())
        return;
    if (state.counterChanged) {
        lblCounter_->setText(state.counterText);
        parts_.scenes.SetTimecodeMode(state.counterTimecode.mode);
        UpdateEntryButton();
    }
    if (state.powerChanged)
        remote_.ShowPower(state.powerOn);
    if (state.modeChanged)
        remote_.ShowMode(state.mode);
}

void TfrmAvCtl::SetLabelColour(const QColor& colour) {
    const QString style = QStringLiteral("color: %1; background: transparent;").arg(colour.name());
    for (QLabel* label : {lblScene_, lblID_, lblCounter_}) {
        if (label != nullptr)
            label->setStyleSheet(style);
    }
}

void TfrmAvCtl::ClearLamps() {
    for (const QString& name : kLampKeyOrder) {
        key(name)->SetLit(false);
        key(name)->SetReversed(false);
    }
    SetPauseLampConsequences(false);
}

void TfrmAvCtl::ShowLamps(int mode) {
    const std::optional<LampSet> lamps = LampsForMode(mode);
    if (!lamps)
        return;
    const bool pauseWasLit = key(QStringLiteral("btnPause"))->IsLit();
    for (int i = 0; i < kLampCount; ++i)
        key(kLampKeyOrder[i])->SetLit(lamps->IsLit(static_cast<Lamp>(i)));
    key(QStringLiteral("btnPlay"))->SetReversed(lamps->playReversed);
    const bool pauseLit = lamps->IsLit(Lamp::Pause);
    if (pauseLit != pauseWasLit)
        SetPauseLampConsequences(pauseLit);
}

void TfrmAvCtl::SetPauseLampConsequences(bool pauseLit) {
    // A still picture on the player is where Preroll and Edit start from.
    bool editable = false;
    if (pauseLit) {
        if (!remote_.shuttle())
            SetJogLamp(true);
        editable = remote_.view() == DeckRemote::View::Player &&
                   IsAtLeast30s(parts_.vtr.Counter(), parts_.vtr.State().counterTimecode.mode);
    } else {
        SetJogLamp(false);
    }
    key(QStringLiteral("btnPreroll"))->setEnabled(editable);
    key(QStringLiteral("btnEdit"))->setEnabled(editable);
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

void TfrmAvCtl::SetJogLamp(bool lit) {
    ShowLampState(imgLumpPause_, lit);
    imgLumpPause_->setPixmap(skin_.Picture(QStringLiteral("imgLumpPause"),
                                           lit ? QStringLiteral("on") : QStringLiteral("off")));
}

void TfrmAvCtl::ShowDialMode(bool shuttle) {
    imgJog_->setPixmap(skin_.Picture(QStringLiteral("imgJog"),
                                     shuttle ? QStringLiteral("shuttle") : QStringLiteral("jog")));
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
    if (!k->isEnabled())
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
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        if (StartsDrag(watched)) {
            dragging_ = true;
            dragMoved_ = false;
            dragPressGlobal_ = mouse->globalPosition().toPoint();
            dragWindowStart_ = pos();
        }
        return StartsDrag(watched);
    }
    if (type == QEvent::MouseMove && dragging_) {
        const QPoint delta = mouse->globalPosition().toPoint() - dragPressGlobal_;
        if (!delta.isNull() && !dragMoved_) {
            dragMoved_ = true;
            // The window manager moves the window where it can: a Wayland compositor ignores
            // a window's own move(), and there the frameless window could not be dragged.
            if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
                dragging_ = false;
                return true;
            }
        }
        move(dragWindowStart_ + delta);
        return true;
    }
    if (type != QEvent::MouseButtonRelease || mouse->button() != Qt::LeftButton)
        return false;
    const bool wasClick = !dragging_ || !dragMoved_;
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (!wasClick)
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
    return wasDragging;
}

void TfrmAvCtl::ToggleCover(int which) {
    parts_.sounds.Play(Sound::Cover);
    QWidget* panel = which == 1 ? pnlBtnCover1_ : pnlBtnCover2_;
    QLabel* opened = which == 1 ? imgPrgOpen_ : imgRecOpen_;
    const bool open = panel->isVisible();
    panel->setVisible(!open);
    opened->setVisible(open);
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

// ---- editing keys ---------------------------------------------------------------------------

void TfrmAvCtl::ConnectEditKeys() {
    SceneList& list = parts_.scenes;
    EditHistory& history = parts_.history;
    auto onClick = [this](const char* name, auto handler) {
        connect(key(QLatin1String(name)), &QAbstractButton::clicked, this, handler);
    };
    // Each repeat of a held Trim key is a trim of its own; the history merges them into one step.
    auto repeated = [&](const char* name, int tag, EditStep step, auto action) {
        autoRepeat_->Attach(key(QLatin1String(name)), tag, [&history, &list, step, action] {
            history.Perform(step, [&list, action] { action(list); });
        });
    };
    repeated("btnTrimM", 1, EditStep::Trim, [](SceneList& l) { TrimPoint(l, -1); });
    repeated("btnTrimP", 2, EditStep::Trim, [](SceneList& l) { TrimPoint(l, +1); });
    repeated("btnSup", 3, EditStep::SceneUp, [](SceneList& l) { StepScene(l, -1); });
    repeated("btnSdown", 4, EditStep::SceneDown, [](SceneList& l) { StepScene(l, +1); });
    onClick("btnEntry", [this] { btnEntryClick(); });
    onClick("btnSin", [this] { MarkPointClick(EditPoint::In); });
    onClick("btnSout", [this] { MarkPointClick(EditPoint::Out); });
    onClick("btnSend", [this] { btnSendClick(); });
    onClick("btnProgEdit", [this] {
        const int first = parts_.scenes.FirstSelected();
        if (first >= 0)
            emit modifyRowRequested(first);
    });
    auto start = [this](int kind) {
        if (autoStart_)
            autoStart_(kind);
    };
    onClick("btnGoto", [start] { start(1); });
    onClick("btnPreview", [start] { start(2); });
    onClick("btnPreroll", [start] { start(5); });
    onClick("btnEdit", [start] { start(6); });
    onClick("btnReview", [this] { btnReviewClick(); });
    onClick("btnAutoRec", [this] { btnAutoRecClick(); });
}

void TfrmAvCtl::UpdateEditButtons() {
    SetEditKeys(
        EvaluateEditKeys(parts_.scenes, {parts_.devices.PlayerId(), parts_.devices.RecorderId()}));
}

void TfrmAvCtl::SetEditKeys(const EditKeyStates& keys) {
    lblScene_->setText(keys.sceneLabel);
    const std::pair<const char*, bool> states[] = {
        {"btnSup", keys.sceneUp},         {"btnSdown", keys.sceneDown},
        {"btnSend", keys.sceneEnd},       {"btnSin", keys.markIn},
        {"btnSout", keys.markOut},        {"btnTrimM", keys.trimMinus},
        {"btnTrimP", keys.trimPlus},      {"btnGoto", keys.gotoScene},
        {"btnPreview", keys.preview},     {"btnAutoRec", keys.autoRec},
        {"btnProgEdit", keys.programEdit}};
    for (const auto& [name, enabled] : states)
        key(QLatin1String(name))->setEnabled(enabled);
    if (keys.reviewOff)
        key(QStringLiteral("btnReview"))->setEnabled(false);
}

void TfrmAvCtl::UpdateEntryButton() {
    key(QStringLiteral("btnEntry"))
        ->setEnabled(EntryPossible(parts_.scenes, parts_.vtr.Counter(),
                                   remote_.view() == DeckRemote::View::Player));
}

void TfrmAvCtl::MarkPointClick(EditPoint point) {
    parts_.history.Perform(point == EditPoint::In ? EditStep::MarkIn : EditStep::MarkOut,
                           [this, point] { MarkPoint(parts_.scenes, point); });
    key(QStringLiteral("btnTrimM"))->setEnabled(true);
    key(QStringLiteral("btnTrimP"))->setEnabled(true);
}

void TfrmAvCtl::btnEntryClick() {
    const DeckState deck = parts_.vtr.State();
    const QString counter = EntryCounterValue(deck.counterText, deck.counter < 0);
    parts_.history.Perform(EditStep::Entry, [this, &counter] { Entry(parts_.scenes, counter); });
    UpdateEditButtons();
    UpdateEntryButton();
    key(QStringLiteral("btnTrimM"))->setEnabled(true);
    key(QStringLiteral("btnTrimP"))->setEnabled(true);
}

void TfrmAvCtl::btnSendClick() {
    autoRepeat_->Stop();
    parts_.history.Perform(EditStep::LastScene,
                           [this] { parts_.scenes.SelectOnly(parts_.scenes.count() - 1); });
    emit listEndRequested();
}

void TfrmAvCtl::btnReviewClick() {
    if (remote_.view() == DeckRemote::View::Player) {
        remote_.SelectView(DeckRemote::View::Recorder);
        // Let the recorder's first reports arrive before the operation takes over.
        parts_.clock.Sleep(300);
    }
    if (autoStart_)
        autoStart_(3);
}

void TfrmAvCtl::btnAutoRecClick() {
    HoldRecordingKeys();
    if (parts_.devices.RecorderId() != 0 && readRecorderPosition_)
        readRecorderPosition_();
    if (autoStart_)
        autoStart_(4);
}

void TfrmAvCtl::HoldRecordingKeys() {
    key(QStringLiteral("btnAutoRec"))->setEnabled(false);
    key(QStringLiteral("btnReview"))->setEnabled(false);
}

void TfrmAvCtl::EnableAutoRec() {
    key(QStringLiteral("btnAutoRec"))->setEnabled(true);
}

void TfrmAvCtl::EnableReview() {
    key(QStringLiteral("btnReview"))->setEnabled(true);
}

void TfrmAvCtl::ShowRecorderRecording() {
    imgDeckr_->setPixmap(skin_.Picture(QStringLiteral("imgDeckr"), QStringLiteral("red")));
}

void TfrmAvCtl::SetArrowFlashing(bool on) {
    if (on) {
        tmPrg_.start();
        return;
    }
    tmPrg_.stop();
    arrowTag_ = 0;
    imgPtoR_->setPixmap(skin_.Picture(QStringLiteral("imgPtoR"), QStringLiteral("idle")));
}

void TfrmAvCtl::tmPrgTimer() {
    arrowTag_ = arrowTag_ == 0 ? 1 : 0;
    imgPtoR_->setPixmap(skin_.Picture(QStringLiteral("imgPtoR"),
                                      arrowTag_ ? QStringLiteral("lit") : QStringLiteral("idle")));
}

bool TfrmAvCtl::arrowLit() const {
    return arrowTag_ == 1;
}

void TfrmAvCtl::RunDeviceSetup() {
    remote_.RunDeviceSetup([this] { return isVisible(); });
    UpdateEditButtons();
    UpdateEntryButton();
}
