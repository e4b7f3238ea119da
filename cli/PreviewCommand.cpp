// clipwright-cli preview: plays a scene with its effect and transitions, beeping at the corrected
// points.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunPreviewCommand(const CommandArguments& args) {
    return RunEngineCommand({.name = QStringLiteral("preview"),
                             .kind = AutoKind::Preview,
                             .takesList = true,
                             .takesRow = true},
                            args);
}
