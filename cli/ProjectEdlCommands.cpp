#include "cli/ProjectEdlCommands.h"

#include <QFileInfo>

#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/TerminalFileHost.h"
#include "edit/EdlFiles.h"
#include "edit/EdlMessages.h"
#include "edit/EdlTimecode.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"

namespace {

const QString kTitleOption = QStringLiteral("title");
const QString kRecordStartOption = QStringLiteral("record-start");

std::optional<int32_t> RecordStart(const CommandArguments& options, uint32_t mode) {
    if (!options.isSet(kRecordStartOption))
        return DefaultEdlRecordStart(mode);
    EdlTimecodeError error = EdlTimecodeError::None;
    const auto text = ListTimecodeOfEdl(options.value(kRecordStartOption), mode, &error);
    if (!text) {
        PrintError(
            "project export-edl: --record-start must be a timecode HH:MM:SS:FF of the "
            "program's frame rate");
        return std::nullopt;
    }
    return FramesOfListText(*text, mode);
}

}  // namespace

int RunExportEdl(const CliSession& session, const CommandArguments& options,
                 const QStringList& paths) {
    if (paths.size() != 2) {
        PrintError("project export-edl: an edit list and the EDL to write are needed");
        return 2;
    }
    const auto recordStart = RecordStart(options, session.timecodeMode());
    if (!recordStart)
        return 2;
    const QString& listPath = paths[0];
    SceneList list(session.timecodeMode());
    TerminalFileHost host(session.captions());
    ProjectFiles files(list, host, session.languageCode());
    if (!files.LoadProject(listPath, true)) {
        PrintError("project: " + listPath + " was not loaded");
        return 1;
    }
    const EdlExportOptions exportOptions{options.isSet(kTitleOption)
                                             ? options.value(kTitleOption)
                                             : QFileInfo(listPath).completeBaseName(),
                                         *recordStart};
    const EdlExport edl = ExportEdlFile(files, list, paths[1], exportOptions, false);
    if (const QString note = EdlExportText(edl, session.captions()); !note.isEmpty())
        PrintError("project export-edl: " + note);
    if (edl.result != EdlExport::Result::Written) {
        PrintError("project: " + paths[1] + " was not written");
        return 1;
    }
    return 0;
}

int RunImportEdl(const CliSession& session, const QStringList& args) {
    if (args.size() != 2) {
        PrintError("project import-edl: an EDL and the edit list to write are needed");
        return 2;
    }
    const EdlImport import = ImportEdlFile(args[0], session.timecodeMode(), session.languageCode());
    if (import.refused()) {
        PrintError("project import-edl: " + args[0] + ": " +
                   EdlRefusalText(import, session.captions()));
        return 1;
    }
    SceneList list(session.timecodeMode());
    ApplyEdlImport(list, import);
    TerminalFileHost host(session.captions());
    ProjectFiles files(list, host, session.languageCode());
    if (!files.SaveProject(args[1], false)) {
        PrintError("project: " + args[1] + " was not written");
        return 1;
    }
    PrintLine(EdlImportReportText(import.report, session.captions()));
    return 0;
}
