#include "link/TarnSys.h"

#include <algorithm>

#include "link/LinkTiming.h"
#include "link/TarnCommands.h"

namespace {

constexpr uint8_t kNameEnd = 0x7F;  // end mark inside a name reply
constexpr int kNamePartLength = 6;  // name characters per reply

bool PowerBit(const CTarnIO& io) {
    return (io.Reply()[tarn::kDataByte] & 0x01) != 0;
}

bool Query(CTarnIO& io, int id, const TarnCommand& command, int attempts) {
    io.PrepareFrame(static_cast<uint8_t>(id), command);
    return io.TransactRetry(attempts);
}

}  // namespace

TarnSys::TarnSys(TarnLink& link) : link_(link) {}

bool TarnSys::SetId(int id) {
    if (!tarn::IsAnsweringId(id))
        return false;
    id_ = id;
    return true;
}

bool TarnSys::Power(bool on, bool wait) {
    return link_.Run([&](CTarnIO& io) { return PowerJob(io, on, wait); }).ok;
}

bool TarnSys::PowerJob(CTarnIO& io, bool on, bool wait) {
    if (!Query(io, id_, on ? tarncmd::kPowerOn : tarncmd::kPowerOff,
               linktiming::kCommandAttempts)) {
        return false;
    }
    if (!wait)
        return true;
    for (int count = 0;; ++count) {
        if (!Query(io, id_, tarncmd::kPowerQuery, linktiming::kCommandAttempts))
            return false;
        if (PowerBit(io) == on)
            return true;
        if (count > linktiming::kSettleQueryLimit)
            return false;
    }
}

bool TarnSys::CheckAndPowerOn(int id) {
    return link_.Run([&](CTarnIO& io) { return CheckAndPowerOnJob(io, id); }).ok;
}

bool TarnSys::CheckAndPowerOnJob(CTarnIO& io, int id) {
    if (!Query(io, id, tarncmd::kPresenceQuery, linktiming::kPresenceAttempts))
        return false;
    if (PowerBit(io))
        return true;
    if (!Query(io, id, tarncmd::kPowerQuery, linktiming::kCommandAttempts))
        return false;
    if (PowerBit(io))
        return true;
    // A device found switched off is switched on, so it can be used right away.
    if (!SetId(id))
        return false;
    return PowerJob(io, true, true);
}

bool TarnSys::Ping(int id) {
    return link_
        .Run([id](CTarnIO& io) {
            return Query(io, id, tarncmd::kPresenceQuery, linktiming::kCommandAttempts);
        })
        .ok;
}

bool TarnSys::ReadDataJob(CTarnIO& io, DeviceRecord& record, const TarnCommand& query,
                          uint8_t* out) {
    // A record without a valid id would otherwise query whichever device was addressed last.
    if (!SetId(record.id))
        return false;
    if (!Query(io, id_, query, linktiming::kCommandAttempts))
        return false;
    std::copy_n(io.Reply().begin() + tarn::kDataByte, 6, out);
    return true;
}

bool TarnSys::ReadCategories(DeviceRecord& record) {
    return link_
        .Run([&](CTarnIO& io) {
            uint8_t data[6];
            if (!ReadDataJob(io, record, tarncmd::kCategoryQuery, data))
                return false;
            record.category = data[0];
            std::copy_n(data + 1, record.groups.size(), record.groups.begin());
            return true;
        })
        .ok;
}

bool TarnSys::ReadMakerInfo(DeviceRecord& record) {
    return link_
        .Run([&](CTarnIO& io) {
            return ReadDataJob(io, record, tarncmd::kMakerQuery, record.maker.data());
        })
        .ok;
}

bool TarnSys::ReadName(DeviceRecord& record) {
    return link_.Run([&](CTarnIO& io) { return ReadNameJob(io, record); }).ok;
}

bool TarnSys::ReadNameJob(CTarnIO& io, DeviceRecord& record) {
    // The name comes in two replies of six characters; 0x7F ends it early.
    const TarnCommand* parts[] = {&tarncmd::kNameFirstQuery, &tarncmd::kNameSecondQuery};
    int length = 0;
    for (const TarnCommand* part : parts) {
        uint8_t data[kNamePartLength];
        if (!ReadDataJob(io, record, *part, data))
            return false;
        for (uint8_t c : data) {
            if (c == kNameEnd) {
                record.name[length] = '\0';
                return true;
            }
            record.name[length++] = static_cast<char>(c);
        }
    }
    record.name[length] = '\0';  // twelve characters carry no end mark
    return true;
}

bool TarnSys::ReadDeviceInfo(DeviceRecord& record) {
    return link_
        .Run([&](CTarnIO& io) {
            if (!SetId(record.id))
                return false;
            return CheckAndPowerOnJob(io, record.id) && ReadCategories(record) &&
                   ReadMakerInfo(record) && ReadName(record);
        })
        .ok;
}

bool TarnSys::ChangeId(int oldId, int newId) {
    // An id outside 1 to 99 would make the device unreachable for every later command.
    if (!tarn::IsAnsweringId(oldId) || !tarn::IsAnsweringId(newId))
        return false;
    return link_
        .Run([&](CTarnIO& io) {
            io.PrepareFrame(static_cast<uint8_t>(oldId), tarncmd::kChangeId);
            io.Request()[tarncmd::kChangeIdNewIdByte] = static_cast<uint8_t>(newId);
            return io.TransactRetry(linktiming::kCommandAttempts);
        })
        .ok;
}

bool TarnSys::SupportsDeckCommands(const DeviceRecord& record) {
    return record.HasCommandGroup(kDeckCommandGroup);
}

bool TarnSys::SupportsEffectCommands(const DeviceRecord& record) {
    return record.HasCommandGroup(kEffectCommandGroup);
}
