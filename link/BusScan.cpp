#include "link/BusScan.h"

#include "link/LinkTiming.h"
#include "link/TarnFrame.h"

std::vector<DeviceRecord> ScanBus(TarnSys& sys, Clock& clock, const ScanProgress& progress) {
    // A first request wakes bus interfaces that drop the very first frame after power-up.
    sys.Ping(tarn::kFirstAnsweringId);

    std::vector<DeviceRecord> found;
    for (int id = tarn::kFirstAnsweringId; id <= tarn::kLastAnsweringId; ++id) {
        if (sys.CheckAndPowerOn(id)) {
            DeviceRecord record;
            record.id = static_cast<uint8_t>(id);
            record.present = 1;
            found.push_back(record);
            clock.Sleep(linktiming::kScanFoundPauseMs);
        }
        // Ids 9, 19, ... 99 move the gauge to 10, 20, ... 100.
        if ((id + 1) % 10 == 0 && progress)
            progress(id + 1);
    }

    for (DeviceRecord& record : found) {
        clock.Sleep(linktiming::kScanInfoPauseMs);
        sys.ReadDeviceInfo(record);
    }
    return found;
}
