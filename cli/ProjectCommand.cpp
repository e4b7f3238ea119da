// clipwright-cli project show FILE: the rows of a project file as TAB-separated lines.
// clipwright-cli project convert IN OUT: a .cwf, or a .trn with its .fxd, saved as a .cwf.
// clipwright-cli project export-edl / import-edl: see ProjectEdlCommands.h.
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/ProjectEdlCommands.h"
#include "cli/TerminalFileHost.h"
#include "edit/OneLineText.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"

namespace {

const QString kUsage = QStringLiteral(
    "usage: project show FILE\n"
    "       project convert IN OUT\n"
    "       project export-edl LIST OUT.edl [--title T] [--record-start TIMECODE]\n"
    "       project import-edl IN.edl OUT.cwf\n"
    "options:\n");

void PrintRows(const SceneList& list) {
    for (int i = 0; i < list.count(); ++i) {
        const Scene& row = list.row(i);
        PrintLine(QStringList{QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')), row.inText,
                              row.outText, row.durationText, QString::number(row.effect),
                              QString::number(row.transition), row.tapeChange ? "1" : "0",
                              OneLineText(row.memo)}
                      .join(u'\t'));
    }
    PrintLine("Total\t" + list.totalText());
}

bool Load(ProjectFiles& files, const QString& path) {
    if (files.LoadProject(path, true))
        return true;
    PrintError("project: " + path + " was not loaded");
    return false;
}

int Usage(const CliSession& session) {
    if (!session.error().isEmpty())
        PrintError("project: " + session.error());
    PrintError(kUsage + StartOptionsUsage());
    return 2;
}

int RunEdlCommand(const CliSession& session) {
    const QStringList& rest = session.arguments();
    const int result = rest[0] == "export-edl" ? RunExportEdl(session, rest.mid(1))
                                               : RunImportEdl(session, rest.mid(1));
    return result == 2 ? Usage(session) : result;
}

}  // namespace

int RunProjectCommand(const QStringList& args) {
    const CliSession session(args);
    const QStringList& rest = session.arguments();
    if (session.error().isEmpty() && !rest.isEmpty() &&
        (rest[0] == "export-edl" || rest[0] == "import-edl")) {
        return RunEdlCommand(session);
    }
    const bool show = rest.size() == 2 && rest[0] == "show";
    const bool convert = rest.size() == 3 && rest[0] == "convert";
    if (!session.error().isEmpty() || (!show && !convert))
        return Usage(session);
    SceneList list(session.timecodeMode());
    TerminalFileHost host(session.captions());
    ProjectFiles files(list, host, session.languageCode());
    if (!Load(files, rest[1]))
        return 1;
    if (show) {
        PrintRows(list);
        return 0;
    }
    if (!files.SaveProject(rest[2], false)) {
        PrintError("project: " + rest[2] + " was not written");
        return 1;
    }
    return 0;
}
