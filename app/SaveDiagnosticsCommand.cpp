#include "app/SaveDiagnosticsCommand.h"

#include <QAction>
#include <QDir>

#include "ClipwrightVersion.h"
#include "app/AppContext.h"
#include "app/ControllerWiring.h"
#include "app/TfrmEDS.h"
#include "app/UserPrompts.h"
#include "config/FileFolders.h"
#include "config/LogFile.h"
#include "devices/DiagnosticsReport.h"

namespace {

constexpr char kProposedName[] = "clipwright-diagnostics.txt";

}  // namespace

SaveDiagnosticsCommand::SaveDiagnosticsCommand(TfrmEDS& mainWindow, AppContext& context,
                                               const ControllerWiring& deck, UserPrompts& prompts)
    : mainWindow_(mainWindow), context_(context), deck_(deck), prompts_(prompts) {
    connect(mainWindow.menus().mnuSaveDiagnostics, &QAction::triggered, this,
            &SaveDiagnosticsCommand::Run);
}

void SaveDiagnosticsCommand::Run() {
    const SettingsFile& settings = context_.settings();
    const QString path = prompts_.ChooseSaveFile(
        &mainWindow_, LastFolder(settings, FileKind::Report, QDir::homePath()),
        QLatin1String(kProposedName), context_.Text("FL_TEXT") + QStringLiteral(" (*.txt)"));
    if (path.isEmpty())
        return;
    KeepLastFolder(settings, FileKind::Report, path);

    const QString folder = context_.programFolder().Path();
    DiagnosticsSources sources;
    sources.program = QStringLiteral("clipwright %1").arg(QLatin1String(kClipwrightVersion));
    sources.programFolder = folder;
    sources.homeFolder = QDir::homePath();
    sources.settingsPath = settings.iniPath();
    sources.deviceStorePath = context_.deviceStore().filePath();
    sources.capabilities = &context_.capabilities();
    sources.exchanges = &context_.bus().io().Exchanges();
    sources.portPath = context_.bus().comm().DevicePath();
    sources.lastRun = deck_.LastRunSummary();
    sources.logTail = LogFile(folder).Tail(DiagnosticsReport::kLogTailLines);
    QString error;
    const QString title = context_.Text("TI_MAIN");
    if (DiagnosticsReport(sources).Write(path, &error))
        prompts_.ShowInformation(
            &mainWindow_, title,
            context_.Text("MSG_DIAGSAVED").arg(QDir::toNativeSeparators(path)));
    else
        prompts_.ShowWarning(&mainWindow_, title, context_.Text("MSG_INPUT") + u'\n' + error);
}
