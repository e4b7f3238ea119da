// Bus-level commands every Tarn device understands: presence, power, category and command
// groups, maker information, name, change of id. Each operation is one job on the link, so it
// is safe from any thread and never interleaves with the deck's polling.
#pragma once

#include <atomic>

#include "link/DeviceRecord.h"
#include "link/TarnLink.h"

class TarnSys {
public:
    explicit TarnSys(TarnLink& link);

    TarnLink& Link() { return link_; }

    // Stores id when it is 1 to 99 (true); otherwise keeps the old id (false).
    bool SetId(int id);
    int Id() const { return id_; }

    // Power on or off to the current id; with wait, then power queries until the device reports
    // the requested state (given up after 202 queries).
    bool Power(bool on, bool wait);
    // True when the device at id answers the presence test and is on, switching it on (and
    // waiting for it) when it reports itself off.
    bool CheckAndPowerOn(int id);
    // Presence query with the usual retries.
    bool Ping(int id);

    // These fill parts of record from the device at record.id (1 to 99, else false).
    bool ReadCategories(DeviceRecord& record);
    bool ReadMakerInfo(DeviceRecord& record);
    bool ReadName(DeviceRecord& record);
    // CheckAndPowerOn, categories, maker information and name; stops at the first failure.
    // Leaves the present flag alone.
    bool ReadDeviceInfo(DeviceRecord& record);

    // Gives the device at oldId the id newId (both 1 to 99).
    bool ChangeId(int oldId, int newId);

    static bool SupportsDeckCommands(const DeviceRecord& record);
    static bool SupportsEffectCommands(const DeviceRecord& record);

private:
    bool PowerJob(CTarnIO& io, bool on, bool wait);
    bool ReadDataJob(CTarnIO& io, DeviceRecord& record, const TarnCommand& query, uint8_t* out);
    bool ReadNameJob(CTarnIO& io, DeviceRecord& record);
    bool CheckAndPowerOnJob(CTarnIO& io, int id);

    TarnLink& link_;
    std::atomic<int> id_{0};
};
