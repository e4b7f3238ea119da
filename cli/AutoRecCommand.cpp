// clipwright-cli autorec: an Auto Rec of every scene of the list onto the recorder.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunAutoRecCommand(const CommandArguments& args) {
    return RunEngineCommand(
        {.name = QStringLiteral("autorec"), .kind = AutoKind::AutoRec, .takesList = true}, args);
}
