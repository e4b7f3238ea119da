#include "cli/CommandHelp.h"

namespace {

const QString kProgram = QStringLiteral("clipwright-cli");
constexpr int kOptionColumn = 26;
constexpr int kCommandColumn = 15;

QString HelpLine(const QString& left, const QString& text, int column = kOptionColumn) {
    const QString padded = QStringLiteral("  ") + left + u' ';
    return padded.leftJustified(column) + text + u'\n';
}

// The summary as a sentence.
QString Sentence(const QString& summary) {
    return summary.left(1).toUpper() + summary.mid(1) + u'.';
}

QString OptionLines(const std::vector<CliOption>& options) {
    QString text;
    for (const CliOption& option : options) {
        QString left = QStringLiteral("--") + QLatin1String(option.name);
        if (*option.valueName != '\0')
            left += u' ' + QLatin1String(option.valueName);
        text += HelpLine(left, QString::fromUtf8(option.description));
    }
    return text;
}

}  // namespace

QString ProgramUsage() {
    return QStringLiteral(
        "usage: clipwright-cli COMMAND [ARGS...] [OPTIONS]\n"
        "       clipwright-cli help [COMMAND] | --help | --version\n");
}

QString ProgramHelp() {
    QString text = ProgramUsage() + QStringLiteral(
                                        "The link, list and editing functions of Clipwright from "
                                        "a terminal.\n\ncommands:\n");
    for (const CliCommand& command : CliCommands())
        text += HelpLine(command.name, command.summary, kCommandColumn);
    text += HelpLine(QStringLiteral("help"), QStringLiteral("this list, or a command's options"),
                     kCommandColumn);
    return text + QStringLiteral("\noptions of every command:\n") +
           OptionLines(SharedCliOptions()) +
           QStringLiteral("\n'clipwright-cli COMMAND --help' shows a command's options.\n");
}

QString CommandUsage(const CliCommand& command) {
    QString text;
    for (const QString& form : command.forms) {
        text += (text.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       ")) +
                QStringList({kProgram, command.name, form}).join(u' ').trimmed() + u'\n';
    }
    return text;
}

QString CommandHelp(const CliCommand& command) {
    return CommandUsage(command) + Sentence(command.summary) + QStringLiteral("\n\noptions:\n") +
           OptionLines(command.options) + OptionLines(SharedCliOptions()) +
           HelpLine(QStringLiteral("-h, --help"), QStringLiteral("show this help and end"));
}
