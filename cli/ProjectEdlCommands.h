// clipwright-cli project export-edl and import-edl: edit lists to and from CMX 3600 edit
// decision lists. Each takes the arguments after its own name.
#pragma once

#include <QStringList>

class CliSession;
class CommandArguments;

// export-edl LIST OUT.edl [--title T] [--record-start TIMECODE]: paths are LIST and OUT.edl,
// options the command line with --title and --record-start.
int RunExportEdl(const CliSession& session, const CommandArguments& options,
                 const QStringList& paths);
// import-edl IN.edl OUT.cwf: exit 1 with the reason on standard error for a refused file, and
// no output file then.
int RunImportEdl(const CliSession& session, const QStringList& args);
