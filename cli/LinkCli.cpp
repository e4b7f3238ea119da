#include "cli/LinkCli.h"

#include "cli/CliIo.h"
#include "link/PortAccess.h"

bool ParseLinkOptions(const QStringList& args, const QStringList& allowed, const QString& command,
                      LinkOptions* options) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith("--")) {
            options->positional << arg;
            continue;
        }
        if (!allowed.contains(arg)) {
            PrintError(command + ": unknown option " + arg);
            return false;
        }
        if (i + 1 >= args.size()) {
            PrintError(command + ": " + arg + " needs a value");
            return false;
        }
        options->values[arg] = args[++i];
    }
    return true;
}

bool LinkOptions::Number(const QString& name, int min, int max, int* value,
                         const QString& command) const {
    bool ok = false;
    const int v = values.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        PrintError(QStringLiteral("%1: %2 must be a number from %3 to %4")
                       .arg(command, name)
                       .arg(min)
                       .arg(max));
        return false;
    }
    *value = v;
    return true;
}

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
