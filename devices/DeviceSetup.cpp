#include "devices/DeviceSetup.h"

#include <QFileInfo>
#include <algorithm>

#include "devices/DeviceSettingsStore.h"
#include "devices/DevicesLog.h"
#include "link/CComm.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnSys.h"

DeviceSetup::DeviceSetup(DeviceConfig& config, DeviceSettingsStore& store, TarnSys& sys,
                         CComm& comm, Clock& clock)
    : config_(config), store_(store), sys_(sys), comm_(comm), clock_(clock) {}

int DeviceSetup::OpenPort() const {
    return comm_.IsOpen() ? comm_.PortNumber() : 0;
}

void DeviceSetup::LoadDeviceSettings(Refresh refresh) {
    store_.LoadSelectionAndDevices(config_);
    SelectPort(config_.port, refresh);
    SetEditTerminal(config_.useEditTerminal);
    // Cancel goes back to what the session started with. Taken after loading, so that a first
    // session without an earlier load at start-up also goes back to the stored choice.
    atOpen_ = {OpenPort(), config_.playerId, config_.recorderId, config_.useEditTerminal};
    working_ = config_.devices;
}

void DeviceSetup::RefreshDevices() {
    TakeRefresh(Refreshed(config_.devices));
}

void DeviceSetup::PostRefresh(QObject* context, std::function<void()> done) {
    using Devices = std::vector<DeviceRecord>;
    sys_.Link().Post<Devices>(
        context, [this, devices = config_.devices] { return Refreshed(devices); },
        [this, done = std::move(done)](Devices devices) {
            TakeRefresh(std::move(devices));
            done();
        });
}

std::vector<DeviceRecord> DeviceSetup::Refreshed(std::vector<DeviceRecord> devices) {
    for (DeviceRecord& device : devices) {
        device.present = sys_.CheckAndPowerOn(device.id) ? 1 : 0;
        // A device that did not answer the presence test has nothing more to tell.
        if (device.present)
            sys_.ReadDeviceInfo(device);
        clock_.Sleep(linktiming::kScanFoundPauseMs);
    }
    return devices;
}

void DeviceSetup::TakeRefresh(std::vector<DeviceRecord> devices) {
    config_.devices = std::move(devices);
    // What a scan found on the port used before is no longer what is on the bus.
    working_ = config_.devices;
}

bool DeviceSetup::OpenAndConfigure(int port) {
    if (!comm_.Open(port))
        return false;
    if (comm_.Configure())
        return true;
    comm_.Close();
    return false;
}

bool DeviceSetup::SelectPort(int port, Refresh refresh) {
    const int previous = OpenPort();
    comm_.Close();
    refusal_ = {};
    if (port < 1 || port > kLastPort) {
        config_.port = 0;
        for (DeviceRecord& device : working_)
            device.present = 0;
        return false;
    }
    if (!OpenAndConfigure(port)) {
        refusal_ = {port, comm_.PathOfPort(port), comm_.LastSystemError()};
        // The selector goes back to the previous port, so that port must be the one in use.
        config_.port = previous != 0 && OpenAndConfigure(previous) ? previous : 0;
        return false;
    }
    config_.port = port;
    if (refresh == Refresh::Now)
        RefreshDevices();
    return true;
}

uint32_t DeviceSetup::TerminalError(const QString& path) const {
    // The open port holds its device exclusively: a second open of it would read busy.
    if (comm_.IsOpen() &&
        QFileInfo(path).canonicalFilePath() == QFileInfo(comm_.DevicePath()).canonicalFilePath())
        return 0;
    CComm probe;
    if (!probe.OpenPath(path))
        return probe.LastSystemError();
    probe.Close();
    return 0;
}

void DeviceSetup::PostScan(QObject* context, ScanProgress progress, std::function<void()> done) {
    using Found = std::vector<DeviceRecord>;
    sys_.Link().Post<Found>(
        context, [this, progress = std::move(progress)] { return ScanBus(sys_, clock_, progress); },
        [this, done = std::move(done)](Found found) {
            TakeScan(std::move(found));
            done();
        });
}

void DeviceSetup::TakeScan(std::vector<DeviceRecord> found) {
    working_ = std::move(found);
    LogScanResult(working_);
    ReconcileSelection();
    if (working_.size() == 1)
        SelectPlayer(0);
}

int DeviceSetup::FindPresent(int id) const {
    const int index = FindDeviceIn(working_, id);
    return index >= 0 && working_[index].present ? index : -1;
}

void DeviceSetup::SelectPlayer(int index) {
    if (index < 0 || index >= static_cast<int>(working_.size())) {
        config_.playerId = 0;
        return;
    }
    const DeviceRecord& device = working_[index];
    config_.playerId = device.id;
    if (device.category == CategoryCamera) {
        // A camcorder alone on the bus can only record through its own edit terminal.
        if (config_.recorderId == 0 && working_.size() == 1)
            SetEditTerminal(true);
    } else {
        SetEditTerminal(false);
    }
}

void DeviceSetup::SelectRecorder(int index) {
    const bool valid = index >= 0 && index < static_cast<int>(working_.size());
    config_.recorderId = valid ? working_[index].id : 0;
}

void DeviceSetup::SetEditTerminal(bool on) {
    config_.useEditTerminal = on;
    if (on)
        config_.recorderId = 0;
}

void DeviceSetup::ReconcileSelection() {
    // Without a port nothing can be told about the devices: the choices wait for the next one.
    if (OpenPort() == 0)
        return;
    SelectRecorder(FindPresent(config_.recorderId));
    SelectPlayer(FindPresent(config_.playerId));
}

bool DeviceSetup::CanSelect(int index) const {
    if (index < 0 || index >= static_cast<int>(working_.size()))
        return false;
    const DeviceRecord& device = working_[index];
    return device.present && TarnSys::SupportsDeckCommands(device) &&
           device.id != config_.playerId && device.id != config_.recorderId;
}

bool DeviceSetup::EditTerminalSelectable() const {
    const int index = FindPresent(config_.playerId);
    return config_.playerId > 0 && index >= 0 && working_[index].category == CategoryCamera;
}

DeviceSetup::IdChange DeviceSetup::ChangeId(int oldId, int newId) {
    const int index = FindDeviceIn(working_, oldId);
    if (newId < 1 || newId == oldId || index < 0)
        return IdChange::Ignored;
    if (FindDeviceIn(working_, newId) >= 0)
        return IdChange::Duplicate;
    if (!sys_.ChangeId(oldId, newId))
        return IdChange::Failed;

    working_[index].id = static_cast<uint8_t>(newId);
    // The device answers at the new id from now on, whether or not the dialog is confirmed:
    // the known list and the store must follow it, or Cancel would bring back a dead id.
    const int known = config_.FindDevice(oldId);
    if (known >= 0) {
        config_.devices[known].id = static_cast<uint8_t>(newId);
        store_.StoreDeviceId(known, newId);
    }
    if (atOpen_.playerId == oldId)
        atOpen_.playerId = newId;
    if (atOpen_.recorderId == oldId)
        atOpen_.recorderId = newId;
    if (config_.playerId == oldId) {
        config_.playerId = newId;
        store_.StorePlayerId(newId);
    }
    if (config_.recorderId == oldId) {
        config_.recorderId = newId;
        store_.StoreRecorderId(newId);
    }
    return IdChange::Changed;
}

void DeviceSetup::Finish(bool accepted) {
    if (accepted) {
        if (working_.size() > static_cast<size_t>(DeviceConfig::kMaxDevices))
            working_.resize(DeviceConfig::kMaxDevices);
        config_.devices = working_;
        store_.StoreDeviceList(config_.devices);
    } else {
        comm_.Close();
        if (atOpen_.port >= 1 && atOpen_.port <= kLastPort)
            OpenAndConfigure(atOpen_.port);
        config_.playerId = atOpen_.playerId;
        config_.recorderId = atOpen_.recorderId;
        config_.useEditTerminal = atOpen_.useEditTerminal;
        working_ = config_.devices;
    }
    config_.port = OpenPort();
    SettlePlayerDetails();
    store_.StoreSelection(config_, config_.port);
}

void DeviceSetup::SettlePlayerDetails() {
    if (config_.playerId < 1) {
        config_.category = 0;
        config_.modelCode = 0;
    } else {
        const DeviceRecord* player = config_.Player();
        config_.category = player ? player->category : 0;
    }
    if (onPlayerChoice_)
        config_.modelCode = onPlayerChoice_(config_);
}
