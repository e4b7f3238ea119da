// The controller's deck remote: which deck the controller drives (the view and the device it is
// connected to), the transport commands of its keys and dial, the dial's shuttle and jog modes,
// the FF and REW search that a long hold makes momentary, and the pause of the polling while the
// device setup is up. It keeps no widget: the controller window paints what its signals report
// and hands it the keys' presses.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

class Clock;
class ControllerDevices;
class TarnLink;
class TarnSys;
class TarnVtr;

class DeckRemote : public QObject {
    Q_OBJECT

public:
    // The deck the controller drives.
    enum class View { None = 0, Player = 1, Recorder = 2 };
    // How long FF or REW must be held for the search to end on release.
    static constexpr int kMomentarySearchMs = 2000;

    DeckRemote(TarnLink& link, TarnVtr& vtr, TarnSys& sys, Clock& clock, ControllerDevices& devices,
               QObject* parent = nullptr);
    ~DeckRemote() override;

    // --- Deck connection ----------------------------------------------------------------------
    // Ids outside 1..99 are ignored.
    void Connect(int id);
    void Disconnect();
    // A view whose deck is not set changes only the view number: the deck shown is still driven.
    void SelectView(View view);
    // The player when one is set, else nothing.
    void ConnectDefault();
    void EnableTransport(bool on);
    // Power reported on or off: off also puts every lamp out.
    void ShowPower(bool on);
    // Lights the lamps of mode m when it differs from the shown mode and transport is on.
    void ShowMode(int mode);
    // All lamps out and no mode shown: the next report lights afresh.
    void ClearLamps();
    // Stops the polling while the device setup dialog is up; afterwards reconnects when it was
    // polling or connected to nothing and mayReconnect still agrees (the window is showing).
    void RunDeviceSetup(const std::function<bool()>& mayReconnect);

    View view() const { return view_; }
    int device() const { return device_; }
    bool transportOn() const { return transportOn_; }
    int shownMode() const { return shownMode_; }
    bool shuttle() const { return shuttle_; }
    bool drivingRecorder() const;

    // --- Transport ----------------------------------------------------------------------------
    // Each command is posted to the link and answered there; a press while one is in flight is
    // refused, so presses cannot pile up behind a slow deck. An accepted mode lights its lamps
    // when the answer comes.
    void SendMode(int mode);
    bool commandPending() const { return pending_; }
    void Play();
    void Pause();
    void Record();
    void Step(bool forward);
    // FF (forward) or REW pressed and let go: from play or pause it searches, else it winds.
    void WindPress(bool forward);
    void WindRelease();
    // The shuttle keys: one rung along the speed ladder, or in jog mode a frame step.
    void Jog(bool forward);
    void SetShuttle(bool shuttle);
    // The dial pressed and let go inside its circle: pauses the player and swaps jog and
    // shuttle.
    void ToggleDial();

signals:
    void transportChanged(bool on);
    void powerShown(bool on);
    void connected(int id);
    void disconnected();
    // After a view is selected; deckChanged says the driven deck (or none) changed with it.
    void viewSelected(DeckRemote::View view, bool deckChanged);
    void lampsCleared();
    void modeShown(int mode);
    void shuttleChanged(bool shuttle);
    void jogLampChanged(bool lit);
    // A transport command went to the link (true) or its answer came (false).
    void commandPendingChanged(bool pending);

private:
    struct ModeAnswer {
        int mode;
        bool lit;  // accepted and carried out: its lamps light
    };

    void RunShuttleStep(bool forward);
    // Posts modes in order, or fallback's when the first is refused.
    void PostModes(std::vector<int> modes, std::vector<int> fallback);
    // Link thread: sends one mode, noting the answer.
    static bool SendModeNow(TarnVtr& vtr, int mode, std::vector<ModeAnswer>* answers);
    void PostStep(bool forward);
    // False while a command is in flight; otherwise marks one in flight.
    bool BeginCommand();
    // The answer came: the lamps change, and what waited for it runs.
    void EndCommand();

    TarnLink& link_;
    TarnVtr& vtr_;
    TarnSys& sys_;
    Clock& clock_;
    ControllerDevices& devices_;

    View view_ = View::None;
    int device_ = 0;
    bool transportOn_ = false;
    int shownMode_;
    bool shuttle_ = true;
    // FF or REW pressed from play or pause: the mode at the press and when it was.
    bool searchHeld_ = false;
    int searchMode_ = 0;
    int64_t searchTick_ = 0;
    bool pending_ = false;
    // A momentary search let go before its own command was answered: the way back goes next.
    int afterAnswer_ = 0;
};
