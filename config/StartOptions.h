// The options that the program and clipwright-cli share on their command lines:
// --home DIR (the program folder) and --language 9|12|17 (the caption language).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct StartOptions {
    QString home;                 // empty: not given
    std::optional<int> language;  // 9 English, 12 French, 17 Japanese; none: the user's own
    QStringList arguments;        // everything else, in order
    QString error;                // not empty when the command line was refused
};

// Takes --home and --language (also written --home=DIR, --language=N) from anywhere before a
// "--"; everything after "--" is kept as plain arguments.
StartOptions ParseStartOptions(const QStringList& args);

// Applies one of the two, name with its dashes ("--home"); false with options->error set when
// the value is not usable.
bool TakeStartOption(const QString& name, const QString& value, StartOptions* options);

// The usage lines of the two options, for help texts.
QString StartOptionsUsage();
