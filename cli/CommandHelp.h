// The help texts of clipwright-cli, made from the command table: the list of commands, a
// command's usage lines and its options one a line.
#pragma once

#include <QString>

#include "cli/CommandTable.h"

// "usage: clipwright-cli COMMAND ..." and the line for help and the version.
QString ProgramUsage();
// The usage, then every command with one line of help (`help`, `--help`).
QString ProgramHelp();
// "usage: clipwright-cli NAME FORM", one line a form, and where the options are told.
QString CommandUsage(const CliCommand& command);
// The usage, the command's summary and its options with the shared ones (`NAME --help`).
QString CommandHelp(const CliCommand& command);
