// The logging category of devices/, clipwright.devices: bus scans and what the device store
// keeps. Off unless switched on (config/ProgramLog.h).
#pragma once

#include <QLoggingCategory>
#include <vector>

#include "link/DeviceRecord.h"

Q_DECLARE_LOGGING_CATEGORY(lcDevices)

// One line per device a scan found (id, category, command groups, name), or that none answered.
void LogScanResult(const std::vector<DeviceRecord>& found);
