#include "cli/CliDiagnostics.h"

#include <QDir>

#include "ClipwrightVersion.h"
#include "cli/CliIo.h"
#include "config/LogFile.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "devices/CDevCaps.h"
#include "devices/CTarnReg.h"
#include "devices/DeviceSettingsStore.h"
#include "devices/DiagnosticsReport.h"
#include "link/CTarnIO.h"

namespace {

// The words the program would use for the stored player: its maker bytes when a scan of this
// run found it, else the settings' model code; the file, else the defaults (nothing is asked).
void LookUpCapabilities(const CliDiagnostics& d, CTarnReg& store, CDevCaps& caps) {
    DeviceConfig config;
    const DeviceSettingsStore stored(store, *d.settings);
    stored.LoadSelectionAndDevices(config);
    stored.LoadStartValues(config);
    caps.SetPlayerId(config.playerId);
    caps.SetCategory(config.category);
    caps.SetModelCode(config.modelCode);
    const int found = FindDeviceIn(d.scanned, config.playerId);
    if (config.playerId > 0 && found >= 0)
        caps.SetModelFromDevice(d.scanned[static_cast<size_t>(found)].maker);
    caps.Load();
}

}  // namespace

bool CliDiagnostics::Write(const QString& out, const QString& command) const {
    CTarnReg store;
    CDevCaps caps(folder->SuppliedFile(QStringLiteral("cw20dev.ini")));
    LookUpCapabilities(*this, store, caps);
    DiagnosticsSources sources;
    sources.program = QStringLiteral("clipwright-cli %1").arg(QLatin1String(kClipwrightVersion));
    sources.programFolder = folder->Path();
    sources.homeFolder = QDir::homePath();
    sources.settingsPath = settings->iniPath();
    sources.deviceStorePath = store.filePath();
    sources.capabilities = &caps;
    sources.exchanges = io != nullptr ? &io->Exchanges() : nullptr;
    sources.portPath = portPath;
    sources.lastRun = lastRun;
    sources.logTail = LogFile(folder->Path()).Tail(DiagnosticsReport::kLogTailLines);
    QString error;
    if (DiagnosticsReport(sources).Write(out, &error))
        return true;
    PrintError(QStringLiteral("%1: cannot write %2: %3").arg(command, out, error));
    return false;
}
