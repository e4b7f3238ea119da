// The diagnostics file as clipwright-cli writes it: the program folder's settings and log, the
// device store, the capability words the stored player gets, and the exchanges and Auto Rec of
// this run of the command.
#pragma once

#include <QString>
#include <vector>

#include "link/DeviceRecord.h"

class CTarnIO;
class ProgramFolder;
class SettingsFile;

struct CliDiagnostics {
    const ProgramFolder* folder = nullptr;
    const SettingsFile* settings = nullptr;
    const CTarnIO* io = nullptr;  // none: no link was used
    QString portPath;
    std::vector<DeviceRecord> scanned;  // the devices a scan found, for the player's maker bytes
    QString lastRun;

    // Writes the file to out; false with a message on standard error.
    bool Write(const QString& out, const QString& command) const;
};
