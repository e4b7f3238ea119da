// The program's device configuration: the serial port, the player and the recorder, the edit
// terminal flag, the known devices and the player's category and model code. The device setup
// edits it; the controller, the editing engine and clipwright-cli read it. It belongs to the GUI
// thread: code on the link thread takes a copy before it starts.
#pragma once

#include <vector>

#include "link/DeviceRecord.h"

struct DeviceConfig {
    // The device lists hold this many records at most (a scan finds at most 99).
    static constexpr int kMaxDevices = 100;

    int port = 0;                       // serial port 1 to 8; 0 = none
    int playerId = 0;                   // 0 = no player
    int recorderId = 0;                 // 0 = no recorder
    bool useEditTerminal = false;       // the player's edit terminal records; no recorder then
    int category = 0;                   // the player's category code; 0 = none
    int modelCode = 0;                  // the player's model code for the capability lookup
    std::vector<DeviceRecord> devices;  // the known devices, in list order

    // The list index of the device with this id, or -1.
    int FindDevice(int id) const;
    // The known device with this id, or none.
    const DeviceRecord* Device(int id) const;
    const DeviceRecord* Player() const { return Device(playerId); }
    const DeviceRecord* Recorder() const { return Device(recorderId); }
};

// The list index of the device with this id in list, or -1.
int FindDeviceIn(const std::vector<DeviceRecord>& list, int id);
