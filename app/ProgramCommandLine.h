// The program's own command line: the start options it shares with clipwright-cli, --help and
// --version, the project file, and a refusal of any option it does not know. The toolkit's own
// options (-platform, -style, ...) are left for the toolkit, which takes them off by itself.
#pragma once

#include <QString>
#include <QStringList>

#include "config/StartOptions.h"

struct ProgramCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };

    Action action = Action::Run;
    StartOptions options;  // options.arguments: the plain arguments (the project file)
    QString error;         // with Action::Refuse: one line saying what is wrong
};

// args: the command line without the program's name. Parsed before the toolkit starts, so that
// --help, --version and a refusal need no display.
ProgramCommandLine ParseProgramCommandLine(const QStringList& args);

// The usage text for --help and after a refusal.
QString ProgramUsage();
