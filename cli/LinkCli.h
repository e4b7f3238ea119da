// What the link commands of clipwright-cli share: the link objects on an opened port.
#pragma once

#include <QString>

#include "link/CComm.h"
#include "link/GuardedLine.h"
#include "link/TapeGuard.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

// The link on one port, opened and configured.
class LinkCli {
public:
    // Opens path; false with a message on standard error when it cannot be used.
    bool Open(const QString& path, const QString& command);

    SteadyClock clock;
    CComm comm;
    TapeGuard guard{comm};
    GuardedLine line{comm, guard};
    CTarnIO io{line, clock};
    TarnLink link{io};
    TarnSys sys{link};
    TarnVtr vtr{link};
};
