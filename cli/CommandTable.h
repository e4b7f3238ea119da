// The commands of clipwright-cli: each one's name, the forms of its command line, one line of
// help, its own options (besides SharedCliOptions) and the function that runs it. The help, the
// bash completion and the man page's check all read this table.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "cli/CommandArguments.h"

struct CliCommand {
    QString name;
    QStringList forms;  // what follows the name, one form a line
    QString summary;
    std::vector<CliOption> options;
    // The exit code: 0 done, 1 the command failed, 2 a usage error.
    int (*run)(const CommandArguments& args);
};

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const QString& name);
