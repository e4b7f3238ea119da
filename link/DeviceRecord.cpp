#include "link/DeviceRecord.h"

#include <algorithm>
#include <cstring>

QString DeviceRecord::Name() const {
    // Devices send plain ASCII names; the length is bounded even if the terminator is missing.
    return QString::fromLatin1(name.data(),
                               static_cast<qsizetype>(strnlen(name.data(), name.size())));
}

bool DeviceRecord::HasCommandGroup(uint8_t group) const {
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}
