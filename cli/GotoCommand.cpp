// clipwright-cli goto: cues the player to a scene's in point and pauses there.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunGotoCommand(const CommandArguments& args) {
    return RunEngineCommand({.name = QStringLiteral("goto"),
                             .kind = AutoKind::Goto,
                             .takesList = true,
                             .takesRow = true},
                            args);
}
