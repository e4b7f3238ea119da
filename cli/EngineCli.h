// What the clipwright-cli commands of the timed deck operations share (autorec, goto, preview,
// review, preroll, edit): their options, the edit list and its row, the link on the port, the
// editing options as the program folder's settings give them, and one run of the engine on a
// terminal host. Exit code 0 when the run finished, 1 when it stopped or failed (or could not
// start on the decks), 2 for a usage error.
#pragma once

#include <QString>

class CommandArguments;

#include "engine/AutoKind.h"

struct EngineCommand {
    QString name;
    AutoKind kind = AutoKind::Idle;
    bool takesList = false;      // FILE: the edit list
    bool takesRow = false;       // --row N: the scene to work on
    bool needsRecorder = false;  // --recorder N is required
    bool needsPausedPlayer = false;
};

int RunEngineCommand(const EngineCommand& command, const CommandArguments& args);
