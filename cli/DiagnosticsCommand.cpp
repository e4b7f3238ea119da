// clipwright-cli diagnostics OUT [--port PATH]: writes the diagnostics file; with --port it scans
// the bus first, so the file holds that scan's exchanges.
#include "cli/CliDiagnostics.h"
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "devices/DevicesLog.h"
#include "link/BusScan.h"

int RunDiagnosticsCommand(const CommandArguments& args) {
    if (args.positional().size() != 1) {
        PrintError("diagnostics: one file to write is needed");
        return 2;
    }
    const CliSession session(args.startOptions());
    CliDiagnostics diagnostics;
    diagnostics.folder = &session.folder();
    diagnostics.settings = &session.settings();
    LinkCli link;
    if (args.isSet("port")) {
        diagnostics.portPath = args.value("port");
        if (!link.Open(diagnostics.portPath, "diagnostics"))
            return 1;
        diagnostics.io = &link.io;
        diagnostics.scanned = ScanBus(link.sys, link.clock, [](int percent) {
            PrintError(QStringLiteral("diagnostics: scan %1%").arg(percent));
        });
        LogScanResult(diagnostics.scanned);
    }
    return diagnostics.Write(args.positional().front(), "diagnostics") ? 0 : 1;
}
