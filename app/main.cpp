// Clipwright's entry point: the command line, the shared objects, the windows in their order,
// then the event loop.
#include <QApplication>
#include <QTextStream>

#include "ClipwrightVersion.h"
#include "app/AppContext.h"
#include "app/CommandLineFile.h"
#include "app/HandedOverFile.h"
#include "app/HandoverChannel.h"
#include "app/MessageBoxPrompts.h"
#include "app/ProgramCommandLine.h"
#include "app/ProgramWindows.h"
#include "app/SignalEnd.h"
#include "config/ProgramFolder.h"
#include "config/ProgramLog.h"
#include "controller/ControllerAccessible.h"
#include "edit/ProjectFiles.h"
#include "ui/SceneListAccessible.h"

namespace {

constexpr int kUsageError = 2;

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Under Wayland a window cannot place itself: positions saved and restored would be ignored.
// Where the session also offers X (XWayland), the program runs there, unless the user chose a
// platform ("-platform" or QT_QPA_PLATFORM).
void PreferXOverWayland(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts: help, version and a refused option need no display.
    const ProgramCommandLine line = ParseProgramCommandLine(ArgumentsOf(argc, argv));
    switch (line.action) {
        case ProgramCommandLine::Action::ShowHelp:
            QTextStream(stdout) << ProgramUsage();
            return 0;
        case ProgramCommandLine::Action::ShowVersion:
            QTextStream(stdout) << "clipwright " << kClipwrightVersion << "\n"
                                << kClipwrightLicenceNotice;
            return 0;
        case ProgramCommandLine::Action::Refuse:
            QTextStream(stderr) << "clipwright: " << line.error << "\n" << ProgramUsage();
            return kUsageError;
        case ProgramCommandLine::Action::Run:
            break;
    }

    PreferXOverWayland(argc, argv);
    QApplication application(argc, argv);
    IgnoreFileSizeSignal();
    QApplication::setApplicationName(QStringLiteral("clipwright"));
    const StartOptions& options = line.options;
    AppContext context(ProgramFolder::ForRunningProgram(options.home), options.language);
    const QString socketPath = context.programFolder().FilePath(kHandoverSocketName);
    const QString file = CommandLineFile(options.arguments);
    // A second copy of the program on the same folder ends, handing its file to the first one.
    if (!context.IsOnlyInstance()) {
        if (!HandOverToRunningProgram(socketPath, file) && !file.isEmpty())
            QTextStream(stderr) << "clipwright: the program running on "
                                << context.programFolder().Path() << " did not take " << file
                                << "\n";
        return 0;
    }
    // The log belongs to the program running on the folder, not to a copy that hands over.
    const ProgramLog log(context.programFolder().Path());
    ProgramLog::SwitchOnAsConfigured(context.settings(), false);

    // Screen readers see the painted list and controller through these, from the first window.
    InstallSceneListAccessibility();
    InstallControllerAccessibility();
    MessageBoxPrompts prompts;
    ProgramWindows windows(context, prompts, file);
    // A logout or kill stops a running Auto Rec as Stop does before the program ends.
    SignalEnd signalEnd(windows);
    HandedOverFile handedOver(windows.mainWindow());
    HandoverServer handover;
    QObject::connect(&handover, &HandoverServer::HandedOver, &handedOver, &HandedOverFile::Take);
    if (context.instanceLock().IsHeld())
        handover.Listen(socketPath);
    windows.mainWindow().ShowAtStart();
    return QApplication::exec();
}
