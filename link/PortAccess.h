// Why a serial device refused to open, in terms a user can act on: whether the system refused
// the user access, and which group's members may use the device.
#pragma once

#include <QString>
#include <cstdint>

// True for an open failure that a group membership cures (EACCES, EPERM).
bool IsAccessDenied(uint32_t systemError);

// The group that owns the device at path, whose members may use it; "dialout", the group Debian
// gives serial devices, when the device has no group a user could join (none, or root's).
QString PortGroup(const QString& path);

// The system's text for an error number.
QString SystemErrorText(uint32_t systemError);
