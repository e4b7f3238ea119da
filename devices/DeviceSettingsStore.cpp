#include "devices/DeviceSettingsStore.h"

#include <algorithm>

#include "config/SettingsFile.h"
#include "devices/CTarnReg.h"
#include "devices/DevicesLog.h"

namespace {

const QString kSection = QStringLiteral("INIT");
const QString kCom = QStringLiteral("COM");
const QString kUseEdit = QStringLiteral("fUseEdit");
const QString kCurId = QStringLiteral("CurID");
const QString kRecId = QStringLiteral("RecID");
const QString kPlayId = QStringLiteral("PlayID");
const QString kDevices = QStringLiteral("DEVICES");
const QString kCode = QStringLiteral("CODE");
const QString kCategory = QStringLiteral("Category");

}  // namespace

DeviceSettingsStore::DeviceSettingsStore(CTarnReg& store, const SettingsFile& settings)
    : store_(store), settings_(settings) {}

int DeviceSettingsStore::ReadValue(const QString& storeName, const SettingKey& fallback) const {
    int32_t value = 0;
    if (!store_.ReadInt(kSection, storeName, &value))
        settings_.ReadInteger(fallback, &value);
    return value;
}

void DeviceSettingsStore::LoadSelectionAndDevices(DeviceConfig& config) const {
    namespace keys = settings_keys;
    config.port = ReadValue(kCom, keys::kCom);
    config.useEditTerminal = ReadValue(kUseEdit, keys::kUseEdit) == 1;
    // The store calls the player CurID; a new installation's settings file calls it PlayID.
    config.playerId = ReadValue(kCurId, keys::kPlayId);
    config.recorderId = ReadValue(kRecId, keys::kRecId);

    const int count = std::clamp(ReadValue(kDevices, keys::kDevices), 0, DeviceConfig::kMaxDevices);
    config.devices.assign(static_cast<size_t>(count), DeviceRecord{});
    for (int n = 0; n < count; ++n) {
        const QString name = keys::DeviceIdKey(n);
        int32_t id = 0;
        if (!store_.ReadInt(kSection, name, &id))
            settings_.ReadInteger(keys::kInitSection, name, &id);
        // Ids are bytes on the bus; only the low 8 bits of a stored value mean anything.
        config.devices[n].id = static_cast<uint8_t>(id & 0xFF);
    }
}

void DeviceSettingsStore::LoadStartValues(DeviceConfig& config) const {
    int32_t code = settings_keys::kDefaultCode;
    settings_.ReadInteger(settings_keys::kCode, &code);
    int32_t category = 0;
    settings_.ReadInteger(settings_keys::kCategory, &category);
    config.modelCode = code;
    config.category = category == 0 ? settings_keys::kDefaultCategory : category;
}

void DeviceSettingsStore::StoreSelection(const DeviceConfig& config, int openPort) {
    store_.WriteInt(kSection, kUseEdit, config.useEditTerminal ? 1 : 0);
    store_.WriteInt(kSection, kCurId, config.playerId);
    store_.WriteInt(kSection, kRecId, config.recorderId);
    store_.WriteInt(kSection, kCom, openPort);
    store_.WriteInt(kSection, kCode, config.modelCode);
    store_.WriteInt(kSection, kCategory, config.category);
    qCInfo(lcDevices) << "stored player" << config.playerId << "recorder" << config.recorderId
                      << "port" << openPort << "edit terminal" << config.useEditTerminal
                      << "model code" << config.modelCode << "category" << config.category
                      << "store status" << store_.lastStatus();
}

void DeviceSettingsStore::StoreDeviceList(const std::vector<DeviceRecord>& devices) {
    const int count = std::min(static_cast<int>(devices.size()), DeviceConfig::kMaxDevices);
    store_.WriteInt(kSection, kDevices, count);
    for (int n = 0; n < count; ++n)
        store_.WriteInt(kSection, settings_keys::DeviceIdKey(n), devices[n].id);
    // Ids left from a longer list would come back as phantom devices at the next start.
    for (int n = count; n < DeviceConfig::kMaxDevices; ++n)
        store_.DeleteValue(kSection, settings_keys::DeviceIdKey(n));
    qCInfo(lcDevices) << "stored" << count << "known devices";
}

void DeviceSettingsStore::StoreDeviceId(int index, int id) {
    store_.WriteInt(kSection, settings_keys::DeviceIdKey(index), id);
    qCInfo(lcDevices) << "stored device" << index << "as id" << id;
}

void DeviceSettingsStore::StorePlayerId(int id) {
    store_.WriteInt(kSection, kPlayId, id);
    qCInfo(lcDevices) << "stored player id" << id;
}

void DeviceSettingsStore::StoreRecorderId(int id) {
    store_.WriteInt(kSection, kRecId, id);
    qCInfo(lcDevices) << "stored recorder id" << id;
}
