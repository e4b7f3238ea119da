// clipwright-cli edit: backs the paused player up, plays, and records from where it stood.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunEditCommand(const CommandArguments& args) {
    return RunEngineCommand(
        {.name = QStringLiteral("edit"), .kind = AutoKind::Edit, .needsPausedPlayer = true}, args);
}
