#include "controller/TfrmAvCtl.h"

// The controller window's deck display: the lamps of the deck's mode, the deck pictures, the
// labels' colour by the deck's power, the counter, the dial's mode and the jog lamp, as the deck
// remote and the deck's change notices report them.
#include <QLabel>

#include "controller/ControllerAccessible.h"
#include "controller/ControllerDevices.h"
#include "controller/LampTable.h"
#include "controller/SkinKey.h"
#include "edit/SceneList.h"
#include "link/TarnVtr.h"

namespace {

const QColor kPowerOnColour(255, 0, 0);
const QColor kPowerOffColour(128, 128, 128);
const QString kZeroCounterText = QStringLiteral(" 00:00:00:00");

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

void TfrmAvCtl::ConnectRemote() {
    connect(&remote_, &DeckRemote::transportChanged, this, &TfrmAvCtl::ShowTransport);
    connect(&remote_, &DeckRemote::powerShown, this,
            [this](bool on) { SetLabelColour(on ? kPowerOnColour : kPowerOffColour); });
    connect(&remote_, &DeckRemote::connected, this, [this](int id) {
        lblID_->setText(QStringLiteral("ID %1").arg(id, 2, 10, QLatin1Char('0')));
    });
    connect(&remote_, &DeckRemote::disconnected, this, &TfrmAvCtl::ShowNoDeckLabels);
    connect(&remote_, &DeckRemote::viewSelected, this, &TfrmAvCtl::ShowView);
    connect(&remote_, &DeckRemote::lampsCleared, this, &TfrmAvCtl::ClearLamps);
    connect(&remote_, &DeckRemote::modeShown, this, &TfrmAvCtl::ShowLamps);
    connect(&remote_, &DeckRemote::shuttleChanged, this, &TfrmAvCtl::ShowDialMode);
    connect(&remote_, &DeckRemote::jogLampChanged, this, &TfrmAvCtl::SetJogLamp);
    // A key's command is answered in a few exchanges' time: the busy cursor shows the wait, while
    // the keys keep their looks (and a held FF or REW its release) and the remote refuses a
    // second press until the answer comes.
    connect(&remote_, &DeckRemote::commandPendingChanged, this, [this](bool pending) {
        if (pending)
            setCursor(Qt::BusyCursor);
        else
            unsetCursor();
    });
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

void TfrmAvCtl::ShowNoDeckLabels() {
    lblCounter_->setText(kZeroCounterText);
    SetLabelColour(kPowerOffColour);
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

void TfrmAvCtl::SetJogLamp(bool lit) {
    ShowLampState(imgLumpPause_, lit);
    imgLumpPause_->setPixmap(skin_.Picture(QStringLiteral("imgLumpPause"),
                                           lit ? QStringLiteral("on") : QStringLiteral("off")));
}

void TfrmAvCtl::ShowDialMode(bool shuttle) {
    imgJog_->setPixmap(skin_.Picture(QStringLiteral("imgJog"),
                                     shuttle ? QStringLiteral("shuttle") : QStringLiteral("jog")));
}
