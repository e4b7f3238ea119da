// Auto Rec again and again on one link for as long as a soak lasts, counting what a long run must
// show: every exchange by its link result, every run, the runs that ended with the program's
// final message, runs that hung, and how far the process's memory grew after the first run.
#pragma once

#include <functional>
#include <optional>

#include "engine/AutoKind.h"

class CTarnIO;

struct SoakLimits {
    int minutes = 0;     // runs start until this time is up; the run in progress is finished
    int runLimitMs = 0;  // a run that has not ended after this long counts as hung
};

// runOnce starts one Auto Rec and returns how it ended, or nothing when it did not end
// within limitMs. finalMessages counts the final messages the host has shown so far. Prints the
// figures as soak_<name>=<value> lines; 0 when every run ended with its message.
int RunSoak(const SoakLimits& limits, CTarnIO& io,
            const std::function<std::optional<AutoResult>(int limitMs)>& runOnce,
            const std::function<int()>& finalMessages);
