#include "cli/LinkCli.h"

#include "cli/CliIo.h"
#include "link/PortAccess.h"

bool LinkCli::Open(const QString& path, const QString& command) {
    if (path.isEmpty()) {
        PrintError(command + ": --port PATH is required");
        return false;
    }
    if (!comm.OpenPath(path)) {
        const uint32_t error = comm.LastSystemError();
        PrintError(
            QStringLiteral("%1: cannot open %2: %3").arg(command, path, SystemErrorText(error)));
        if (IsAccessDenied(error))
            PrintError(QStringLiteral("%1: your user may not use %2: join the group %3 "
                                      "(sudo adduser $USER %3), then log out and in again")
                           .arg(command, path, PortGroup(path)));
        return false;
    }
    if (!comm.Configure()) {
        PrintError(QStringLiteral("%1: cannot set 9600 baud 8O1 on %2: %3")
                       .arg(command, path, SystemErrorText(comm.LastSystemError())));
        return false;
    }
    return true;
}
