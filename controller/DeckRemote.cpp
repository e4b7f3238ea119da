#include "controller/DeckRemote.h"

#include "controller/ControllerDevices.h"
#include "controller/ShuttleLadder.h"
#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/TarnLink.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

#include <utility>

namespace {

int LowBits(int mode) {
    return mode & 0x0F;
}

bool IsPlayOrPause(int mode) {
    const int low = LowBits(mode);
    return low == ModePause || low == ModePlay || low == ModeReversePlay;
}

}  // namespace

DeckRemote::DeckRemote(TarnLink& link, TarnVtr& vtr, TarnSys& sys, Clock& clock,
                       ControllerDevices& devices, QObject* parent)
    : QObject(parent),
      link_(link),
      vtr_(vtr),
      sys_(sys),
      clock_(clock),
      devices_(devices),
      shownMode_(ModeNoDeck) {}

DeckRemote::~DeckRemote() {
    vtr_.StopPolling();
}

// ---- connection and view --------------------------------------------------------------------

void DeckRemote::Connect(int id) {
    if (id < 1 || id > 99)
        return;
    // On the link thread, as a job: the port may be in the middle of a poll's exchange, and the
    // deck changes between two passes, before the next one and before any command sent after
    // this. Nothing here waits for it.
    link_.Post([&link = link_, &vtr = vtr_, &sys = sys_, id] {
        link.IO().Comm().Configure();
        vtr.ForgetMode();
        vtr.SetId(id);
        sys.SetId(id);
    });
    vtr_.StartPolling();
    device_ = id;
    EnableTransport(true);
    emit connected(id);
}

void DeckRemote::Disconnect() {
    vtr_.StopPolling();
    vtr_.ForgetPower();
    ShowPower(false);
    emit disconnected();
}

bool DeckRemote::drivingRecorder() const {
    const int recorder = devices_.RecorderId();
    return recorder != 0 && device_ == recorder;
}

void DeckRemote::SelectView(View view) {
    const int player = devices_.PlayerId();
    const int recorder = devices_.RecorderId();
    // The lamps belong to the deck that was shown: the other deck's first report lights its own,
    // and with them Preroll and Edit, which a player paused beyond thirty seconds offers and a
    // recorder never does (both decks may well be paused, so no lamp would change otherwise).
    const bool deckChanges = view == View::None || (view == View::Player && player != 0) ||
                             (view == View::Recorder && recorder != 0);
    if (view != view_ && deckChanges)
        ClearLamps();
    if (view == View::None)
        Disconnect();
    else if (deckChanges)
        Connect(view == View::Player ? player : recorder);
    view_ = view;
    emit viewSelected(view, deckChanges);
}

void DeckRemote::ConnectDefault() {
    const int player = devices_.PlayerId();
    if (player != 0) {
        device_ = player;
        EnableTransport(true);
        SelectView(View::Player);
    } else {
        device_ = 0;
        EnableTransport(false);
    }
}

void DeckRemote::EnableTransport(bool on) {
    transportOn_ = on;
    emit transportChanged(on);
    vtr_.ForgetMode();
}

// ---- status display -------------------------------------------------------------------------

void DeckRemote::ShowPower(bool on) {
    EnableTransport(on);
    if (!on)
        ClearLamps();
    emit powerShown(on);
}

void DeckRemote::ClearLamps() {
    emit lampsCleared();
    shownMode_ = ModeNoDeck;
}

void DeckRemote::ShowMode(int mode) {
    if (mode == shownMode_ || !transportOn_)
        return;
    emit modeShown(mode);
    shownMode_ = mode;
}

// ---- device setup ---------------------------------------------------------------------------

void DeckRemote::RunDeviceSetup(const std::function<bool()>& mayReconnect) {
    const bool wasUnconnected = device_ == 0;
    const bool wasPolling = vtr_.IsPolling();
    if (wasPolling)
        vtr_.StopPolling();
    devices_.ShowDeviceSetup();
    if ((wasPolling || wasUnconnected) && mayReconnect())
        ConnectDefault();
}

// ---- transport ------------------------------------------------------------------------------

void DeckRemote::SendMode(int mode) {
    PostModes({mode}, {});
}

bool DeckRemote::BeginCommand() {
    if (pending_)
        return false;
    pending_ = true;
    emit commandPendingChanged(true);
    return true;
}

void DeckRemote::EndCommand() {
    pending_ = false;
    emit commandPendingChanged(false);
    if (const int mode = std::exchange(afterAnswer_, 0); mode != 0)
        SendMode(mode);
}

void DeckRemote::PostModes(std::vector<int> modes, std::vector<int> fallback) {
    if (modes.empty() || !BeginCommand())
        return;
    using Answers = std::vector<ModeAnswer>;
    // The job holds the deck, never this remote: a controller closed while the job waits in the
    // queue leaves it nothing of its own to reach. Only the answer comes back to it.
    link_.Post<Answers>(
        this,
        [&vtr = vtr_, modes = std::move(modes), fallback = std::move(fallback)] {
            Answers answers;
            const bool firstTaken = SendModeNow(vtr, modes.front(), &answers);
            for (int mode :
                 firstTaken ? std::vector<int>(modes.begin() + 1, modes.end()) : fallback)
                SendModeNow(vtr, mode, &answers);
            return answers;
        },
        [this](const Answers& answers) {
            for (const ModeAnswer& answer : answers) {
                if (answer.lit)
                    ShowMode(answer.mode);
            }
            EndCommand();
        });
}

bool DeckRemote::SendModeNow(TarnVtr& vtr, int mode, std::vector<ModeAnswer>* answers) {
    const LinkJobResult result = vtr.SetMode(mode, false);
    // kStatusPending is a deck that took the command without carrying it out yet: its lamps wait
    // for the poll.
    answers->push_back({mode, result.ok && result.status != tarncmd::kStatusPending});
    return result.ok;
}

void DeckRemote::PostStep(bool forward) {
    if (!BeginCommand())
        return;
    link_.Post<bool>(
        this, [&vtr = vtr_, forward] { return vtr.Step(forward).ok; },
        [this](bool) { EndCommand(); });
}

void DeckRemote::Play() {
    SendMode(drivingRecorder() && vtr_.Mode() == ModeRecordPause ? ModeRecord : ModePlay);
}

void DeckRemote::Pause() {
    SendMode(drivingRecorder() && vtr_.Mode() == ModeRecord ? ModeRecordPause : ModePause);
}

void DeckRemote::Record() {
    if (!drivingRecorder())
        return;
    SendMode(vtr_.Mode() == ModeRecordPause ? ModeRecord : ModeRecordPause);
}

void DeckRemote::Step(bool forward) {
    PostStep(forward);
}

void DeckRemote::WindPress(bool forward) {
    const int mode = vtr_.Mode();
    if (!IsPlayOrPause(mode)) {
        SendMode(forward ? ModeFastForward : ModeRewind);
        return;
    }
    searchHeld_ = true;
    searchMode_ = mode;
    searchTick_ = clock_.NowMs();
    SendMode(forward ? ModeForwardSearch : ModeReverseSearch);
}

void DeckRemote::WindRelease() {
    if (!searchHeld_)
        return;
    searchHeld_ = false;
    // A long hold makes the search momentary: back to where the press started.
    if (clock_.NowMs() - searchTick_ <= kMomentarySearchMs)
        return;
    const int back = LowBits(searchMode_) == ModePause ? ModePause : ModePlay;
    if (pending_)
        afterAnswer_ = back;
    else
        SendMode(back);
}

void DeckRemote::Jog(bool forward) {
    if (shuttle_) {
        emit jogLampChanged(false);
        RunShuttleStep(forward);
        return;
    }
    emit jogLampChanged(true);
    if (vtr_.Mode() == ModePause)
        PostStep(forward);
    else
        SendMode(ModePause);
}

void DeckRemote::RunShuttleStep(bool forward) {
    ShuttleStep step = ShuttleStepFrom(vtr_.Mode(), forward);
    if (!step.IsEmpty())
        PostModes(std::move(step.modes), std::move(step.fallback));
}

void DeckRemote::SetShuttle(bool shuttle) {
    shuttle_ = shuttle;
    emit shuttleChanged(shuttle);
    emit jogLampChanged(!shuttle);
}

void DeckRemote::ToggleDial() {
    emit jogLampChanged(true);
    if (devices_.PlayerId() != 0)
        SendMode(ModePause);
    SetShuttle(!shuttle_);
}
