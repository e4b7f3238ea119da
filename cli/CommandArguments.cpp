#include "cli/CommandArguments.h"

#include <QCommandLineParser>

#include "cli/CliIo.h"

namespace {

const QString kHelp = QStringLiteral("help");
const QString kEndOfOptions = QStringLiteral("--");

// The option as the user wrote it: "--name", or "-n" for a letter of a single-dash group.
QString Written(const QString& name, const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == kEndOfOptions)
            break;
        if (arg.startsWith(kEndOfOptions) && arg.mid(2).section(u'=', 0, 0) == name)
            return kEndOfOptions + name;
    }
    return u'-' + name;
}

}  // namespace

const std::vector<CliOption>& SharedCliOptions() {
    static const std::vector<CliOption> options = {
        {"home", "DIR", "program folder for cw20.ini and the user's own files"},
        {"language", "9|12|17", "captions in English, French or Japanese"},
        {"verbose", "", "log to standard error and clipwright.log"}};
    return options;
}

CommandArguments::CommandArguments(const QString& command, const std::vector<CliOption>& options,
                                   const QStringList& args)
    : command_(command) {
    Parse(options, args);
    if (outcome_ == Outcome::Run)
        TakeStartOptions();
}

void CommandArguments::Parse(const std::vector<CliOption>& options, const QStringList& args) {
    QCommandLineParser parser;
    std::vector<CliOption> all = options;
    all.insert(all.end(), SharedCliOptions().begin(), SharedCliOptions().end());
    for (const CliOption& option : all) {
        const QString name = QString::fromLatin1(option.name);
        valueNames_[name] = QString::fromLatin1(option.valueName);
        parser.addOption(QCommandLineOption(name, QString(), valueNames_[name]));
    }
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    valueNames_[kHelp] = QString();
    // The parser takes the first argument for the program's own name.
    if (!parser.parse(QStringList{command_} + args)) {
        outcome_ = Outcome::Refused;
        error_ = Refusal(parser, args);
        return;
    }
    if (parser.isSet(kHelp)) {
        outcome_ = Outcome::Help;
        return;
    }
    for (const CliOption& option : all) {
        const QString name = QString::fromLatin1(option.name);
        if (!parser.isSet(name))
            continue;
        if (valueNames_[name].isEmpty())
            flags_.insert(name);
        else
            values_[name] = parser.values(name).constLast();
    }
    positional_ = parser.positionalArguments();
}

QString CommandArguments::Refusal(const QCommandLineParser& parser, const QStringList& args) const {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("unknown option ") + Written(unknown.first(), args);
    // Otherwise a flag was given a value, or the last option lacks its value.
    for (const QString& arg : args) {
        const QString name = arg.mid(2).section(u'=', 0, 0);
        const bool isFlag = valueNames_.contains(name) && valueNames_[name].isEmpty();
        if (arg.startsWith(kEndOfOptions) && arg.contains(u'=') && isFlag)
            return kEndOfOptions + name + QStringLiteral(" takes no value");
    }
    return QStringLiteral("missing value for ") + args.last();
}

void CommandArguments::TakeStartOptions() {
    for (const CliOption& option : SharedCliOptions()) {
        const QString name = QString::fromLatin1(option.name);
        if (values_.contains(name) &&
            !TakeStartOption(kEndOfOptions + name, values_[name], &startOptions_)) {
            outcome_ = Outcome::Refused;
            error_ = startOptions_.error;
            return;
        }
    }
}

bool CommandArguments::Require(const QString& name) const {
    if (values_.contains(name))
        return true;
    PrintError(QStringLiteral("%1: --%2 %3 is required").arg(command_, name, valueNames_[name]));
    return false;
}

bool CommandArguments::Number(const QString& name, int min, int max, int* value) const {
    if (!Require(name))
        return false;
    bool ok = false;
    const int v = values_.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        PrintError(QStringLiteral("%1: --%2 must be a number from %3 to %4")
                       .arg(command_, name)
                       .arg(min)
                       .arg(max));
        return false;
    }
    *value = v;
    return true;
}

bool CommandArguments::OptionalNumber(const QString& name, int min, int max, int* value) const {
    return !values_.contains(name) || Number(name, min, max, value);
}
