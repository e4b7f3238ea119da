#include "devices/TarnBus.h"

#include <memory>

#include "devices/SettingsPortResolver.h"

TarnBus::TarnBus(const SettingsFile& settings) {
    comm_.SetPortResolver(std::make_unique<SettingsPortResolver>(settings));
}
