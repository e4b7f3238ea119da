// Clipwright's entry point: the command line, the shared objects, the windows in their order,
// then the event loop.
#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include "app/AppContext.h"
#include "app/CommandLineFile.h"
#include "app/MessageBoxPrompts.h"
#include "app/ProgramWindows.h"
#include "config/ProgramFolder.h"
#include "config/StartOptions.h"

namespace {

constexpr int kUsageError = 2;

// An installed program's folder (/usr/bin, ...) is not the user's to write: there the settings and
// the lock live in the user's configuration folder instead, unless a folder was named.
QString HomeOption(const StartOptions& options) {
    if (!options.home.isEmpty() || !qEnvironmentVariableIsEmpty("CLIPWRIGHT_HOME"))
        return options.home;
    if (QFileInfo(QCoreApplication::applicationDirPath()).isWritable())
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("clipwright"));
    const StartOptions options = ParseStartOptions(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
        QTextStream(stderr) << options.error << "\n"
                            << "usage: clipwright [options] [project file]\n"
                            << StartOptionsUsage() << "\n";
        return kUsageError;
    }
    AppContext context(ProgramFolder::ForRunningProgram(HomeOption(options)), options.language);
    // A second copy of the program on the same folder ends quietly: the first one is in use.
    if (!context.IsOnlyInstance())
        return 0;

    MessageBoxPrompts prompts;
    ProgramWindows windows(context, prompts, CommandLineFile(options.arguments));
    windows.mainWindow().show();
    return QApplication::exec();
}
