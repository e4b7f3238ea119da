// What the link commands of clipwright-cli share: their options (--port, --id, --seconds,
// --answer-delay) and the link objects on an opened port.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "link/CComm.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

struct LinkOptions {
    QMap<QString, QString> values;  // option name (with "--") -> value
    QStringList positional;

    // The option's value as an integer in [min, max]; false with a message on standard error.
    bool Number(const QString& name, int min, int max, int* value, const QString& command) const;
};

// Splits args into "--name value" pairs (only the names in allowed) and the rest. False with
// a message on standard error for an unknown option or a missing value.
bool ParseLinkOptions(const QStringList& args, const QStringList& allowed, const QString& command,
                      LinkOptions* options);

// The link on one port, opened and configured.
class LinkCli {
public:
    // Opens path; false with a message on standard error when it cannot be used.
    bool Open(const QString& path, const QString& command);

    SteadyClock clock;
    CComm comm;
    CTarnIO io{comm, clock};
    TarnLink link{io};
    TarnSys sys{link};
    TarnVtr vtr{link};
};
