// The whole program on a bench simulated in this process: the program folder and device store
// of a user whose serial port 1 is the simulator's terminal, with the camcorder (id 1) chosen as
// player and the VCR (id 2) as recorder, as the demo bench has them.
#pragma once

#include <QString>
#include <optional>

#include "sim/Bench.h"

class AppContext;

// The bench in a JSON file; none, with the reason, when it cannot be read.
std::optional<tarnsim::Bench> ReadBench(const QString& path, QString* error);

// Settings and device store of `context` for the bench served on `port` (30 fps counting).
void ConfigureForBench(AppContext& context, const QString& port);
