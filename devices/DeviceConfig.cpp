#include "devices/DeviceConfig.h"

int FindDeviceIn(const std::vector<DeviceRecord>& list, int id) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

int DeviceConfig::FindDevice(int id) const {
    return FindDeviceIn(devices, id);
}

const DeviceRecord* DeviceConfig::Device(int id) const {
    const int index = FindDevice(id);
    return index < 0 ? nullptr : &devices[index];
}
