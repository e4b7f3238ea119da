#include "devices/DevicesLog.h"

// Warnings only by default: the information lines appear when the log is switched on.
Q_LOGGING_CATEGORY(lcDevices, "clipwright.devices", QtWarningMsg)

void LogScanResult(const std::vector<DeviceRecord>& found) {
    qCInfo(lcDevices) << "scan found" << found.size() << "devices";
    for (const DeviceRecord& record : found) {
        QStringList groups;
        for (const uint8_t group : record.groups)
            groups << QStringLiteral("%1").arg(group, 2, 16, QLatin1Char('0'));
        qCInfo(lcDevices).noquote()
            << "  id" << int{record.id} << "category" << int{record.category} << "groups"
            << groups.join(u' ') << record.Name();
    }
}
