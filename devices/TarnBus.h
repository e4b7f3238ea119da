// The program's one Tarn link stack, created once at start-up: the clock, the serial port (its
// port numbers resolved through cw20.ini), the frame layer, the link thread, the bus-level
// system commands and the deck, and the tape guard that stands by while an operation runs. Windows,
// the engine and clipwright-cli reach the bus through it.
#pragma once

#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/GuardedLine.h"
#include "link/TapeGuard.h"
#include "link/TarnLink.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

class SettingsFile;

class TarnBus {
public:
    explicit TarnBus(const SettingsFile& settings);
    TarnBus(const TarnBus&) = delete;
    TarnBus& operator=(const TarnBus&) = delete;

    Clock& clock() { return clock_; }
    CComm& comm() { return comm_; }
    CTarnIO& io() { return io_; }
    TapeGuard& guard() { return guard_; }
    TarnLink& link() { return link_; }
    TarnSys& sys() { return sys_; }
    TarnVtr& vtr() { return vtr_; }

private:
    // Declared in the order the layers build on each other, so they end in the reverse order.
    SteadyClock clock_;
    CComm comm_;
    TapeGuard guard_{comm_};
    GuardedLine line_{comm_, guard_};
    CTarnIO io_{line_, clock_};
    TarnLink link_{io_};
    TarnSys sys_{link_};
    TarnVtr vtr_{link_};
};
