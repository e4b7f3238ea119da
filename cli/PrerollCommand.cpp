// clipwright-cli preroll: backs the paused player up by the pre-roll and pauses there.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunPrerollCommand(const CommandArguments& args) {
    return RunEngineCommand(
        {.name = QStringLiteral("preroll"), .kind = AutoKind::Preroll, .needsPausedPlayer = true},
        args);
}
