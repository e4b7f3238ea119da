// clipwright-cli project show FILE: the rows of a project file as TAB-separated lines.
// clipwright-cli project convert IN OUT: a .cwf, or a .trn with its .fxd, saved as a .cwf.
// clipwright-cli project export-edl / import-edl: see ProjectEdlCommands.h.
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/ProjectEdlCommands.h"
#include "cli/TerminalFileHost.h"
#include "edit/OneLineText.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"

namespace {

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

// show FILE or convert IN OUT.
int RunListCommand(const CliSession& session, const QString& action, const QStringList& paths) {
    if (paths.size() != (action == "show" ? 1 : 2)) {
        PrintError("project " + action + ": " +
                   (action == "show" ? "one edit list is needed" : "IN and OUT are needed"));
        return 2;
    }
    SceneList list(session.timecodeMode());
    TerminalFileHost host(session.captions());
    ProjectFiles files(list, host, session.languageCode());
    if (!Load(files, paths[0]))
        return 1;
    if (action == "show") {
        PrintRows(list);
        return 0;
    }
    if (!files.SaveProject(paths[1], false)) {
        PrintError("project: " + paths[1] + " was not written");
        return 1;
    }
    return 0;
}

}  // namespace

int RunProjectCommand(const CommandArguments& args) {
    const QStringList& rest = args.positional();
    const QString action = rest.value(0);
    const QStringList paths = rest.mid(1);
    if (action != "show" && action != "convert" && action != "export-edl" &&
        action != "import-edl") {
        PrintError("project: show, convert, export-edl or import-edl is needed");
        return 2;
    }
    if (action != "export-edl" && (args.isSet("title") || args.isSet("record-start"))) {
        PrintError("project: --title and --record-start belong to export-edl");
        return 2;
    }
    const CliSession session(args.startOptions());
    if (action == "export-edl")
        return RunExportEdl(session, args, paths);
    if (action == "import-edl")
        return RunImportEdl(session, paths);
    return RunListCommand(session, action, paths);
}
