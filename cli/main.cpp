// clipwright-cli: the program's link, list and editing functions from a terminal.
#include <QCoreApplication>
#include <functional>
#include <map>

#include "cli/CliIo.h"
#include "cli/Commands.h"

namespace {

const std::map<QString, std::function<int(const QStringList&)>>& CommandTable() {
    static const std::map<QString, std::function<int(const QStringList&)>> table = {
        {"caps", RunCapsCommand},         {"autorec", RunAutoRecCommand},
        {"edit", RunEditCommand},         {"frame", RunFrameCommand},
        {"goto", RunGotoCommand},         {"poll", RunPollCommand},
        {"preroll", RunPrerollCommand},   {"preview", RunPreviewCommand},
        {"review", RunReviewCommand},     {"tapereport", RunTapeReportCommand},
        {"project", RunProjectCommand},   {"scan", RunScanCommand},
        {"send", RunSendCommand},         {"status", RunStatusCommand},
        {"timecode", RunTimecodeCommand},
    };
    return table;
}

void PrintUsage() {
    QStringList names;
    for (const auto& entry : CommandTable())
        names << entry.first;
    PrintError("usage: clipwright-cli COMMAND [ARGS...]\ncommands: " + names.join(", "));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        PrintUsage();
        return 2;
    }
    const QString name = args.takeFirst();
    const auto command = CommandTable().find(name);
    if (command == CommandTable().end()) {
        PrintUsage();
        return 2;
    }
    return command->second(args);
}
