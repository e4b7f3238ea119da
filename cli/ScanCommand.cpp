// clipwright-cli scan --port PATH: the bus scan; one line per device found on standard output,
// progress on standard error.
#include <QStringList>

#include "cli/CliIo.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "devices/DevicesLog.h"
#include "link/BusScan.h"

namespace {

QString CategoryName(int code) {
    switch (code) {
        case CategoryVcr:
            return "VCR";
        case CategoryVdp:
            return "VDP";
        case CategoryCamera:
            return "Camera";
        case CategoryVcp:
            return "VCP";
        case CategoryPrinter:
            return "Printer";
        default:
            return "Unknown";
    }
}

QString DeviceLine(const DeviceRecord& record) {
    QStringList fields;
    fields << QStringLiteral("%1").arg(record.id, 2, 10, QLatin1Char('0'))
           << QString::number(record.category) << CategoryName(record.category);
    for (uint8_t group : record.groups) {
        fields << QStringLiteral("%1").arg(group, 2, 16, QLatin1Char('0')).toUpper();
    }
    fields << record.Name();
    return fields.join(u' ');
}

}  // namespace

int RunScanCommand(const CommandArguments& args) {
    if (!args.positional().isEmpty()) {
        PrintError("scan: takes no arguments besides its options");
        return 2;
    }
    if (!args.Require("port"))
        return 2;
    LinkCli cli;
    if (!cli.Open(args.value("port"), "scan"))
        return 1;
    const std::vector<DeviceRecord> found = ScanBus(cli.sys, cli.clock, [](int percent) {
        PrintError(QStringLiteral("scan: %1%").arg(percent));
    });
    LogScanResult(found);
    if (found.empty()) {
        PrintError("scan: no device answered on " + args.value("port"));
        return 1;
    }
    for (const DeviceRecord& record : found)
        PrintLine(DeviceLine(record));
    return 0;
}
