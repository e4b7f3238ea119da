// clipwright-cli: the program's link, list and editing functions from a terminal.
#include <QCoreApplication>
#include <QTextStream>

#include "ClipwrightVersion.h"
#include "cli/CliIo.h"
#include "cli/CommandHelp.h"
#include "cli/CommandTable.h"
#include "config/ProgramFolder.h"
#include "config/ProgramLog.h"
#include "config/SettingsFile.h"
#include "edit/ProjectFiles.h"

namespace {

constexpr int kUsageError = 2;

int Refuse(const QString& error, const QString& usage) {
    PrintError(error);
    QTextStream(stderr) << usage;
    return kUsageError;
}

int ShowHelp(const QString& text) {
    QTextStream(stdout) << text;
    return 0;
}

// help, or help COMMAND.
int RunHelp(const QStringList& args) {
    if (args.isEmpty() || args == QStringList{QStringLiteral("--help")} ||
        args == QStringList{QStringLiteral("-h")})
        return ShowHelp(ProgramHelp());
    const CliCommand* command = FindCliCommand(args.front());
    if (args.size() > 1 || command == nullptr)
        return Refuse(QStringLiteral("help: no command ") + args.join(u' '), ProgramUsage());
    return ShowHelp(CommandHelp(*command));
}

int RunCommand(const CliCommand& command, const QStringList& args) {
    const CommandArguments parsed(command.name, command.options, args);
    const QString hint =
        QStringLiteral("'clipwright-cli %1 --help' shows its options.\n").arg(command.name);
    switch (parsed.outcome()) {
        case CommandArguments::Outcome::Help:
            return ShowHelp(CommandHelp(command));
        case CommandArguments::Outcome::Refused:
            return Refuse(command.name + QStringLiteral(": ") + parsed.error(),
                          CommandUsage(command) + hint);
        case CommandArguments::Outcome::Run:
            break;
    }
    const ProgramFolder folder = ProgramFolder::ForRunningProgram(parsed.startOptions().home);
    const ProgramLog log(folder.Path());
    ProgramLog::SwitchOnAsConfigured(SettingsFile(folder.Path()), parsed.isSet("verbose"));
    const int result = command.run(parsed);
    // A command that refused its arguments has said why; the usage says what it takes.
    if (result == kUsageError)
        QTextStream(stderr) << CommandUsage(command) << hint;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    IgnoreFileSizeSignal();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Refuse(QStringLiteral("a command is needed"), ProgramUsage());
    const QString name = args.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h"))
        return ShowHelp(ProgramHelp());
    if (name == QStringLiteral("--version")) {
        QTextStream(stdout) << "clipwright-cli " << kClipwrightVersion << "\n"
                            << kClipwrightLicenceNotice;
        return 0;
    }
    if (name == QStringLiteral("help"))
        return RunHelp(args);
    if (name.startsWith(u'-'))
        return Refuse(QStringLiteral("unknown option ") + name, ProgramUsage());
    const CliCommand* command = FindCliCommand(name);
    if (command == nullptr)
        return Refuse(QStringLiteral("unknown command ") + name, ProgramUsage());
    return RunCommand(*command, args);
}
