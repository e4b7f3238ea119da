// One tape deck on the bus: its commands (play, stop, pause, record, wind, search, slow, step,
// eject), its status polling, and the state it reports (mode, power, tape counter). Commands
// run as jobs on the link thread, which also runs the polling; the state is read from any
// thread under a small lock, and changes reach the GUI through the Changed() signal.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

#include "edit/Timecode.h"
#include "link/TarnCommands.h"
#include "link/TarnLink.h"

// What the GUI shows of the deck. The change flags are set by the link thread and cleared by
// the receiver of Changed() through TakeChanges().
struct DeckState {
    int mode = ModeNoDeck;
    bool powerOn = false;
    int32_t counter = 0;                   // signed tape counter in frames
    QString counterText = " 00:00:00:00";  // sign (blank or '-') and the counter timecode
    Timecode counterTimecode;
    int32_t speedByte = 0;  // data byte 4 of the last speed query
    bool modeChanged = false;
    bool powerChanged = false;
    bool counterChanged = false;
};

// One status reading of the addressed deck and the moment the deck took it.
struct StatusSample {
    int32_t counter = 0;
    bool hasCounter = false;
    bool busy = false;    // a mode change is still settling
    int64_t heardUs = 0;  // CTarnIO::LastHeardUs of the status query
};

class TarnVtr : public QObject, private LinkPoller {
    Q_OBJECT

public:
    explicit TarnVtr(TarnLink& link, QObject* parent = nullptr);
    ~TarnVtr() override;

    // The deck every command addresses: stores id when it is 1 to 99 (true).
    bool SetId(int id);
    int Id() const { return id_; }

    // Polling of the addressed deck on the link thread, back to back between jobs.
    void StartPolling();
    // Returns once the poll pass in progress has ended.
    void StopPolling();
    bool IsPolling() const;

    // Sends the command of mode (5 attempts; a final status of exactly kStatusPending counts
    // as accepted). With wait, then follows the deck with status queries until it is no longer
    // busy (given up after 202). A mode without a command is refused without sending.
    LinkJobResult SetMode(int mode, bool wait);
    // Record pause (pause) or record, or their edit-terminal variants (terminal). Refused at once
    // (refused = true) while another thread's command holds the link.
    LinkJobResult Record(bool pause, bool terminal);
    // One frame forward or back, one attempt; the reply is a status reply and, when it is a
    // reading, updates the state. Refused like Record.
    LinkJobResult Step(bool forward);
    // Status query to the deck; updates mode (asking for the speed when it plays) and counter,
    // and raises Changed().
    bool ReadStatus();
    // Power query; updates power on.
    bool CheckPower();
    // Speed query after a play or reverse-play status: tells slow and search from normal play.
    bool ReadSpeed();
    // A status query to any device (for example the recorder while the player is addressed),
    // leaving this deck's state alone; read the counter from the reply with DecodeCounter. Not ok
    // unless the reply is a reading (the status byte tells a refusal).
    LinkJobResult QueryStatus(int id);

    // The counter of a status reply: false when the reply says no counter is available.
    static bool DecodeCounter(const TarnFrame& reply, int32_t* frames, Timecode* tc);
    // The counter as shown: a sign ('-' or a blank) and the timecode text of tc.
    static QString CounterText(int32_t frames, Timecode& tc);

    DeckState State() const;
    // The state with the change flags as they were; the flags are cleared.
    DeckState TakeChanges();
    // Mode := no deck, so that the next status report counts as a change.
    void ForgetMode();
    // Power on := off without a change flag, as when the controller lets go of the deck; the
    // next moving counter or power check reports it on again.
    void ForgetPower();
    int Mode() const;
    int32_t Counter() const;
    bool PowerOn() const;
    int32_t SpeedByte() const;
    // The last status poll or status read, moving counter or not.
    StatusSample LastSample() const;

    // Called on the link thread after every accepted poll (the editing engine's step; it may
    // issue commands, which run at once).
    void SetStepHook(std::function<void()> hook);
    // Called on the link thread after every poll attempt with whether the poll was accepted
    // (lets the engine end an operation when the deck falls silent).
    void SetPollHook(std::function<void(bool accepted)> hook);

signals:
    // Some change flag is set. Posted on every polling pass while one is set; the receiver
    // calls TakeChanges().
    void Changed();

private:
    void PollPass() override;
    void CountSlowCheck(bool raised, int& passes, bool (TarnVtr::*check)(CTarnIO&), CTarnIO& io);
    bool Poll(CTarnIO& io);
    bool UpdateFromStatus(const TarnFrame& reply, bool editingStep);
    bool TakeCounter(const TarnFrame& reply);
    bool SetModeJob(CTarnIO& io, int mode, bool wait);
    bool WaitUntilSettled(CTarnIO& io, int mode);
    bool ReadStatusJob(CTarnIO& io);
    bool ReadSpeedJob(CTarnIO& io);
    bool CheckPowerJob(CTarnIO& io);
    void NoteSample(const CTarnIO& io);
    void SetModeFlagged(int mode);
    void NotifyIfChanged();

    TarnLink& link_;
    std::atomic<int> id_{1};

    mutable std::mutex stateMutex_;
    DeckState state_;
    StatusSample lastSample_;
    std::function<void()> stepHook_;
    std::function<void(bool)> pollHook_;

    // Used on the link thread only.
    int lastCommandedMode_ = ModeNoDeck;
    int statusMode_ = ModeNoDeck;
    int32_t previousCounter_ = 0;
    bool checkPower_ = false;
    bool speedNeeded_ = false;
    int powerPasses_ = 0;
    int speedPasses_ = 0;
};
