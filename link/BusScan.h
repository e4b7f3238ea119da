// The bus scan: finds every device on ids 1 to 99 (switching on those that are off) and reads
// their descriptions. Shared by the device setup dialog and clipwright-cli.
#pragma once

#include <functional>
#include <vector>

#include "link/Clock.h"
#include "link/DeviceRecord.h"
#include "link/TarnSys.h"

// Progress in percent (10, 20, ... 100) as the ids are tried.
using ScanProgress = std::function<void(int percent)>;

// The devices found, in id order, each with the present flag set and its description read as
// far as the device answered. An empty bus takes about 20 seconds.
std::vector<DeviceRecord> ScanBus(TarnSys& sys, Clock& clock, const ScanProgress& progress);
