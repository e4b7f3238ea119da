// Where the device configuration is kept between runs: the device store (Tarn.ini) first, the
// settings file's [INIT] values of a new installation as fallback. Only each device's id is kept;
// the rest of its record is read from the device again.
#pragma once

#include <vector>

#include "config/SettingsKeys.h"
#include "devices/DeviceConfig.h"
#include "link/DeviceRecord.h"

class CTarnReg;
class SettingsFile;

class DeviceSettingsStore {
public:
    DeviceSettingsStore(CTarnReg& store, const SettingsFile& settings);

    // Port, edit terminal, player, recorder and the known devices (ids only, present flag 0).
    // Missing everywhere gives 0: no port, no player, no recorder, edit terminal off, no devices.
    // A stored device count above the list size is cut to it.
    void LoadSelectionAndDevices(DeviceConfig& config) const;
    // Model code and category as the program starts with them: from the settings file only
    // (the stored copies are written for other programs of the bus); a missing or zero category
    // stands for a video camera.
    void LoadStartValues(DeviceConfig& config) const;

    // What every close of the device setup writes: edit terminal, player, recorder, the port
    // actually open (0 when none), model code and category.
    void StoreSelection(const DeviceConfig& config, int openPort);
    // The device count and each device's id; ids stored beyond the new count are removed.
    void StoreDeviceList(const std::vector<DeviceRecord>& devices);
    // One list entry's id, after the device was given a new one.
    void StoreDeviceId(int index, int id);
    void StorePlayerId(int id);
    void StoreRecorderId(int id);

private:
    int ReadValue(const QString& storeName, const SettingKey& fallback) const;

    CTarnReg& store_;
    const SettingsFile& settings_;
};
