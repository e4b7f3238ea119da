// Serial port numbers resolved through cw20.ini: [Ports] COM<n>= names the terminal device of
// port n, so a user can put the bus on a USB adapter or a simulator's pseudo-terminal; without
// an entry the port keeps its usual device.
#pragma once

#include "config/SettingsFile.h"
#include "link/PortResolver.h"

class SettingsPortResolver : public PortResolver {
public:
    explicit SettingsPortResolver(SettingsFile settings) : settings_(std::move(settings)) {}

    QString DevicePath(int port) const override;

private:
    SettingsFile settings_;  // a copy: the link may outlive the caller's settings object
};
