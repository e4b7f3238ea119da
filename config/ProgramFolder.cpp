#include "config/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

ProgramFolder::ProgramFolder(QString home, QStringList resourceFolders)
    : home_(std::move(home)), resourceFolders_(std::move(resourceFolders)) {}

QString ProgramFolder::ChooseHome(const QString& homeOption, const QString& environmentHome,
                                  const QString& executableFolder) {
    const QString chosen = !homeOption.isEmpty()        ? homeOption
                           : !environmentHome.isEmpty() ? environmentHome
                                                        : executableFolder;
    return QDir::cleanPath(QDir(chosen).absolutePath());
}

ProgramFolder ProgramFolder::ForRunningProgram(const QString& homeOption) {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString home =
        ChooseHome(homeOption, qEnvironmentVariable("CLIPWRIGHT_HOME"), executableFolder);
    // A failure here shows later as settings that are not remembered, as for a read-only folder.
    QDir().mkpath(home);
    const QString installed =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/clipwright"));
    return ProgramFolder(home, {executableFolder, installed});
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
