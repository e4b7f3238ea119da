#include "cli/LinkCli.h"

#include <cstring>

#include "cli/CliIo.h"

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
        PrintError(QStringLiteral("%1: cannot open %2: %3")
                       .arg(command, path,
                            QString::fromLocal8Bit(std::strerror(int(comm.LastSystemError())))));
        return false;
    }
    if (!comm.Configure()) {
        PrintError(QStringLiteral("%1: cannot set 9600 baud 8O1 on %2: %3")
                       .arg(command, path,
                            QString::fromLocal8Bit(std::strerror(int(comm.LastSystemError())))));
        return false;
    }
    return true;
}
