#include "BenchProgram.h"

#include <QFile>

#include "app/AppContext.h"
#include "devices/DeviceSettingsStore.h"

std::optional<tarnsim::Bench> ReadBench(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    std::string why;
    auto bench = tarnsim::Bench::FromJson(file.readAll().toStdString(), &why);
    *error = QString::fromStdString(why);
    return bench;
}

void ConfigureForBench(AppContext& context, const QString& port) {
    SettingsFile& settings = context.settings();
    settings.WriteString(settings_keys::kPortsSection, settings_keys::PortKey(1), port);
    settings.WriteInteger(settings_keys::kFrameMode, 1);
    DeviceConfig config;
    config.port = 1;
    config.playerId = 1;
    config.recorderId = 2;
    for (int id : {1, 2}) {
        DeviceRecord device;
        device.id = static_cast<uint8_t>(id);
        config.devices.push_back(device);
    }
    DeviceSettingsStore store(context.deviceStore(), settings);
    store.StoreDeviceList(config.devices);
    store.StoreSelection(config, config.port);
}
