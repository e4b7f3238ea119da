#include "config/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString InstalledResources(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/clipwright"));
}

}  // namespace

ProgramFolder::ProgramFolder(QString home, QStringList resourceFolders)
    : home_(std::move(home)), resourceFolders_(std::move(resourceFolders)) {}

QString ProgramFolder::ChooseHome(const QString& homeOption, const QString& environmentHome,
                                  const QString& defaultHome) {
    const QString chosen = !homeOption.isEmpty()        ? homeOption
                           : !environmentHome.isEmpty() ? environmentHome
                                                        : defaultHome;
    return QDir::cleanPath(QDir(chosen).absolutePath());
}

QString ProgramFolder::DefaultHome(const QString& executableFolder,
                                   const QString& userConfigFolder) {
    if (!QFileInfo(InstalledResources(executableFolder)).isDir())
        return executableFolder;
    return QDir(userConfigFolder).filePath(QStringLiteral("clipwright"));
}

ProgramFolder ProgramFolder::ForRunningProgram(const QString& homeOption) {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    // GenericConfigLocation: $XDG_CONFIG_HOME, else ~/.config.
    const QString defaultHome = DefaultHome(
        executableFolder, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    const QString home =
        ChooseHome(homeOption, qEnvironmentVariable("CLIPWRIGHT_HOME"), defaultHome);
    // A failure here shows later as settings that are not remembered, as for a read-only folder.
    QDir().mkpath(home);
    return ProgramFolder(home, {executableFolder, InstalledResources(executableFolder)});
}

QString ProgramFolder::FilePath(const QString& name) const {
    return QDir(home_).filePath(name);
}

QString ProgramFolder::SuppliedFile(const QString& name) const {
    const QString own = FilePath(name);
    if (QFileInfo::exists(own))
        return own;
    for (const QString& folder : resourceFolders_) {
        const QString installed = QDir(folder).filePath(name);
        if (QFileInfo::exists(installed))
            return installed;
    }
    return own;
}
