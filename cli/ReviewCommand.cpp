// clipwright-cli review: plays the recorder from the recording start and pauses before its end.
#include "cli/Commands.h"
#include "cli/EngineCli.h"
#include "engine/AutoEngine.h"

int RunReviewCommand(const CommandArguments& args) {
    return RunEngineCommand(
        {.name = QStringLiteral("review"), .kind = AutoKind::Review, .needsRecorder = true}, args);
}
