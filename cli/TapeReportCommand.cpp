// clipwright-cli tapereport REPORT [LIST]: the simulator's tape report as a table, in the
// list's timecode mode (else the program folder's); with a list, how far each recorded scene
// lies from its in and out points, ending with the line
// "autorec_max_error_frames=<n> autorec_mean_error_frames=<x> autorec_mean_abs_error_frames=<x>
// autorec_mean_signed_error_frames=<x> autorec_plain_frames_before_transitions=<n>".
#include <QFile>

#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/TapeReport.h"
#include "cli/TerminalFileHost.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"

namespace {

QString Row(const QStringList& cells) {
    QString line;
    for (const QString& cell : cells)
        line += cell.leftJustified(14);
    return line.trimmed();
}

void PrintTable(const TapeReport& report, uint32_t mode) {
    PrintLine(Row({"recorder from", "recorder to", "player from", "player to", "picture", "effect",
                   "transition"}));
    for (const TapeReportSegment& s : report.Segments()) {
        PrintLine(Row({FramesToText(s.recFrom, mode), FramesToText(s.recTo, mode),
                       FramesToText(s.srcFrom, mode), FramesToText(s.srcTo, mode), s.picture,
                       QString::number(s.effect),
                       s.transition == 0 ? QStringLiteral("0")
                                         : QStringLiteral("%1 %2").arg(s.transition).arg(s.side)}));
    }
}

int PrintErrors(const TapeReport& report, const SceneList& list) {
    const auto errors = report.CompareWith(list);
    if (!errors) {
        PrintError(QStringLiteral("tapereport: the recorder holds %1 scenes, which do not match "
                                  "the list's scenes")
                       .arg(report.RecordedScenes().size()));
        return 1;
    }
    for (size_t i = 0; i < errors->perScene.size(); ++i)
        PrintLine(QStringLiteral("scene %1: in point off by %2 frames, out point off by %3 "
                                 "(positive: late)")
                      .arg(i + 1)
                      .arg(errors->perScene[i].first)
                      .arg(errors->perScene[i].second));
    PrintLine(QStringLiteral("autorec_max_error_frames=%1 autorec_mean_error_frames=%2 "
                             "autorec_mean_abs_error_frames=%2 "
                             "autorec_mean_signed_error_frames=%3 "
                             "autorec_plain_frames_before_transitions=%4")
                  .arg(errors->maxError)
                  .arg(errors->meanError, 0, 'f', 2)
                  .arg(errors->meanSigned, 0, 'f', 2)
                  .arg(errors->plainBeforeTransition));
    return 0;
}

}  // namespace

int RunTapeReportCommand(const CommandArguments& args) {
    const QStringList& rest = args.positional();
    if (rest.isEmpty() || rest.size() > 2) {
        PrintError("tapereport: a tape report is needed, and at most an edit list besides");
        return 2;
    }
    const CliSession session(args.startOptions());
    QFile file(rest[0]);
    QString error;
    const auto report =
        file.open(QIODevice::ReadOnly) ? TapeReport::Parse(file.readAll(), &error) : std::nullopt;
    if (!report) {
        PrintError("tapereport: " + rest[0] + " is not a tape report " + error);
        return 1;
    }
    SceneList list(session.timecodeMode());
    if (rest.size() == 2) {
        TerminalFileHost fileHost(session.captions());
        ProjectFiles files(list, fileHost, session.languageCode());
        if (!files.LoadProject(rest[1], true)) {
            PrintError("tapereport: " + rest[1] + " was not loaded");
            return 1;
        }
    }
    PrintTable(*report, list.timecodeMode());
    return rest.size() == 2 ? PrintErrors(*report, list) : 0;
}
