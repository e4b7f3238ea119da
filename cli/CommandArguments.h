// One clipwright-cli command's command line, read by Qt's parser: the command's own options and
// those every command shares (--home, --language, -h/--help), each as "--name value" or
// "--name=value", and the plain arguments. A refused line says which option was wrong, as the
// user wrote it.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

#include "config/StartOptions.h"

class QCommandLineParser;

// One option: its name without dashes, the placeholder of its value (empty for a flag; "a|b"
// lists the only values it takes) and one line of help.
struct CliOption {
    const char* name;
    const char* valueName;
    const char* description;
};

// The options every command takes besides its own.
const std::vector<CliOption>& SharedCliOptions();

class CommandArguments {
public:
    enum class Outcome { Run, Help, Refused };

    // args: what follows the command's name.
    CommandArguments(const QString& command, const std::vector<CliOption>& options,
                     const QStringList& args);

    Outcome outcome() const { return outcome_; }
    // Why the line was refused ("unknown option --x", "missing value for --port", ...).
    const QString& error() const { return error_; }
    const QString& command() const { return command_; }
    const QStringList& positional() const { return positional_; }
    const StartOptions& startOptions() const { return startOptions_; }

    bool isSet(const QString& name) const {
        return values_.contains(name) || flags_.contains(name);
    }
    // The last value given for the option, empty when it was not given.
    QString value(const QString& name) const { return values_.value(name); }

    // False, with "COMMAND: --name N is required" on standard error, when the option is missing.
    bool Require(const QString& name) const;
    // The option's value as an integer in [min, max]; false with a message on standard error.
    bool Number(const QString& name, int min, int max, int* value) const;
    // The option's value when given, else *value as it is; false as Number.
    bool OptionalNumber(const QString& name, int min, int max, int* value) const;

private:
    void Parse(const std::vector<CliOption>& options, const QStringList& args);
    // What was wrong with a line the parser refused, the option named as it was written.
    QString Refusal(const QCommandLineParser& parser, const QStringList& args) const;
    void TakeStartOptions();

    QString command_;
    Outcome outcome_ = Outcome::Run;
    QString error_;
    QStringList positional_;
    QHash<QString, QString> values_;
    QHash<QString, QString> valueNames_;
    QSet<QString> flags_;
    StartOptions startOptions_;
};
