#include "devices/SettingsPortResolver.h"

QString SettingsPortResolver::DevicePath(int port) const {
    QString path;
    if (settings_.ReadString(settings_keys::kPortsSection, settings_keys::PortKey(port), &path)) {
        return path;
    }
    return PortResolver::DevicePath(port);
}
