// clipwright-cli: the program's link, list and editing functions from a terminal.
#include <QCoreApplication>
#include <QTextStream>
#include <array>

#include "ClipwrightVersion.h"
#include "cli/CliIo.h"
#include "cli/Commands.h"
#include "config/StartOptions.h"
#include "edit/ProjectFiles.h"

namespace {

constexpr int kUsageError = 2;

struct CliCommand {
    const char* name;
    int (*run)(const QStringList&);
    const char* synopsis;
};

constexpr std::array<CliCommand, 17> kCommands = {{
    {"frame", RunFrameCommand, "frame ID B3 B4 B5 B6 B7 B8 B9"},
    {"timecode", RunTimecodeCommand, "timecode --mode 0|1|2 FRAMES|HH:MM:SS:FF"},
    {"project", RunProjectCommand,
     "project show FILE | convert IN OUT | export-edl LIST OUT.edl | import-edl IN.edl OUT.cwf"},
    {"scan", RunScanCommand, "scan --port PATH"},
    {"status", RunStatusCommand, "status --port PATH --id N"},
    {"poll", RunPollCommand, "poll --port PATH --id N --seconds S [--answer-delay MS]"},
    {"caps", RunCapsCommand, "caps --port PATH --id N"},
    {"send", RunSendCommand, "send --port PATH ID B3 B4 B5 B6 B7 B8 B9"},
    {"autorec", RunAutoRecCommand,
     "autorec FILE --port PATH --player N [--recorder N] [--edit-terminal] [--yes] "
     "[--verify FILE]"},
    {"calibrate", RunCalibrateCommand,
     "calibrate --port PATH --player N [--recorder N] [--edit-terminal] [--yes] "
     "[--save [--force]]"},
    {"goto", RunGotoCommand, "goto FILE --row N --port PATH --player N"},
    {"preview", RunPreviewCommand, "preview FILE --row N --port PATH --player N"},
    {"review", RunReviewCommand, "review --port PATH --player N --recorder N --from POS --to POS"},
    {"preroll", RunPrerollCommand, "preroll --port PATH --player N"},
    {"edit", RunEditCommand, "edit --port PATH --player N [--recorder N] [--edit-terminal]"},
    {"tapereport", RunTapeReportCommand, "tapereport REPORT [FILE]"},
    {"ports", RunPortsCommand, "ports"},
}};

QString Usage() {
    QString text = QStringLiteral(
        "usage: clipwright-cli COMMAND [ARGS...]\n"
        "       clipwright-cli --help | --version\n"
        "The link, list and editing functions of Clipwright from a terminal.\n"
        "\n"
        "commands:\n");
    for (const CliCommand& command : kCommands)
        text += QStringLiteral("  %1\n").arg(QLatin1String(command.synopsis));
    return text + QStringLiteral("\noptions of every command:\n") + StartOptionsUsage() + u'\n';
}

int Refuse(const QString& error) {
    PrintError(error);
    QTextStream(stderr) << Usage();
    return kUsageError;
}

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    IgnoreFileSizeSignal();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Refuse(QStringLiteral("a command is needed"));
    const QString name = args.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h")) {
        QTextStream(stdout) << Usage();
        return 0;
    }
    if (name == QStringLiteral("--version")) {
        QTextStream(stdout) << "clipwright-cli " << kClipwrightVersion << "\n"
                            << kClipwrightLicenceNotice;
        return 0;
    }
    if (name.startsWith(u'-'))
        return Refuse(QStringLiteral("unknown option ") + name);
    const CliCommand* command = FindCommand(name);
    if (command == nullptr)
        return Refuse(QStringLiteral("unknown command ") + name);
    return command->run(args);
}
