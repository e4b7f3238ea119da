// One session of the device setup over the device configuration: loading the stored settings,
// opening the chosen port, refreshing and scanning the bus, choosing the player and the
// recorder, changing device ids, and ending with OK (the edited device list is kept and stored)
// or Cancel (port, player, recorder and edit terminal back as they were). The device setup
// dialog shows a session; the program's start-up and clipwright-cli use one without a window.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "devices/DeviceConfig.h"
#include "link/BusScan.h"
#include "link/CComm.h"
#include "link/DeviceRecord.h"

class Clock;
class QObject;
class DeviceSettingsStore;
class TarnSys;

class DeviceSetup {
public:
    // The ports that can be chosen are the ports the transport opens: a port offered that could
    // never open would only ever fail.
    static constexpr int kLastPort = CComm::kLastPort;

    // The model code in force after the setup closed with this player (none: no player); the
    // capability database answers it. Without a handler the model code stays as it was.
    using PlayerChoiceHandler = std::function<int(const DeviceConfig& config)>;

    enum class IdChange {
        Changed,    // the device answers at the new id; records and store updated
        Ignored,    // no such device, or the new id is below 1 or the same: nothing sent
        Duplicate,  // another listed device has the new id: nothing sent
        Failed,     // the device refused or did not answer
    };

    DeviceSetup(DeviceConfig& config, DeviceSettingsStore& store, TarnSys& sys, CComm& comm,
                Clock& clock);

    void SetPlayerChoiceHandler(PlayerChoiceHandler handler) {
        onPlayerChoice_ = std::move(handler);
    }

    DeviceConfig& config() { return config_; }
    const DeviceConfig& config() const { return config_; }
    // The list being edited: the known devices, or what the last scan found.
    const std::vector<DeviceRecord>& working() const { return working_; }
    // The port open now, 0 when none.
    int OpenPort() const;

    // The last port that would not open, for the window to say why; port 0 when the last port
    // chosen opened (or none was chosen).
    struct PortRefusal {
        int port = 0;
        QString path;        // the device the port names
        uint32_t error = 0;  // the system's error number
    };
    const PortRefusal& lastRefusal() const { return refusal_; }

    // When a newly opened port's known devices are asked whether they are there: at once, on
    // the calling thread (start-up, the command line), or later through PostRefresh (the device
    // setup dialog, which never waits).
    enum class Refresh { Now, Later };

    // Reads the stored settings, opens the stored port (refreshing the devices), applies the
    // stored edit terminal flag and remembers port, player, recorder and edit terminal for
    // Cancel.
    void LoadDeviceSettings(Refresh refresh = Refresh::Now);
    // Asks every known device whether it is there (switching it on) and reads its description.
    void RefreshDevices();
    // The same on the link thread; returns at once. When the answer reaches context's thread
    // the known devices take it and done runs (never once context is gone).
    void PostRefresh(QObject* context, std::function<void()> done);
    // Closes the port and opens port n (1 to kLastPort), refreshing the devices on success.
    // Outside that range the bus is left unused (false). A port that does not open gives false
    // and the port that was open before is opened again.
    bool SelectPort(int port, Refresh refresh = Refresh::Now);
    // Whether path opens as a terminal the bus can run on: 0, or the system error that refuses
    // it (ENOTTY for a file that is no terminal). The device the session has open passes.
    uint32_t TerminalError(const QString& path) const;
    // Every id on the bus, tried on the link thread; returns at once. When the answer reaches
    // context's thread, the devices found become the list being edited and done runs (never
    // once context is gone). progress gets 10, 20, ... 100 on the link thread as the ids are
    // tried.
    void PostScan(QObject* context, ScanProgress progress, std::function<void()> done);

    // Player and recorder by index in the list being edited; -1 chooses none.
    void SelectPlayer(int index);
    void SelectRecorder(int index);
    // On: the player's edit terminal records, so there is no recorder.
    void SetEditTerminal(bool on);
    // Deselects a player or recorder that is not present in the list being edited, and applies
    // the player's rules again (a lone video camera turns the edit terminal on).
    void ReconcileSelection();
    // Whether the device at index may become player or recorder: listed, present, able to take
    // deck commands and not chosen already.
    bool CanSelect(int index) const;
    // The edit terminal can be switched only with a video camera as player.
    bool EditTerminalSelectable() const;

    IdChange ChangeId(int oldId, int newId);

    // Ends the session: accepted keeps the edited list and stores it; otherwise the previous
    // port is opened again and player, recorder, edit terminal and list go back. Then the
    // player's category and model code are settled and the selection is stored.
    void Finish(bool accepted);

private:
    struct Remembered {
        int port = 0;
        int playerId = 0;
        int recorderId = 0;
        bool useEditTerminal = false;
    };

    bool OpenAndConfigure(int port);
    void TakeScan(std::vector<DeviceRecord> found);
    // Presence, power and description of each device, asked on the calling thread.
    std::vector<DeviceRecord> Refreshed(std::vector<DeviceRecord> devices);
    void TakeRefresh(std::vector<DeviceRecord> devices);
    int FindPresent(int id) const;
    void SettlePlayerDetails();

    DeviceConfig& config_;
    DeviceSettingsStore& store_;
    TarnSys& sys_;
    CComm& comm_;
    Clock& clock_;
    PlayerChoiceHandler onPlayerChoice_;
    PortRefusal refusal_;
    std::vector<DeviceRecord> working_;
    Remembered atOpen_;
};
