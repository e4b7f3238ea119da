#include "edit/ProjectPath.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Longest extension text that still counts, with its '.': "x.cwf" and "x.html", not "x.backup".
constexpr qsizetype kExtensionWindow = 5;

qsizetype FileNameStart(const QString& path) {
    return path.lastIndexOf(u'/') + 1;
}

qsizetype ExtensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < FileNameStart(path))
        return -1;
    return dot;
}

}  // namespace

QString PathExtension(const QString& path) {
    const qsizetype dot = ExtensionDot(path);
    if (dot < 0 || dot < path.size() - kExtensionWindow)
        return {};
    return path.mid(dot + 1);
}

QString PathDirectory(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

QString PathWithoutExtension(const QString& path) {
    const qsizetype dot = ExtensionDot(path);
    return dot < 0 ? path : path.left(dot);
}

bool EnsureFolders(const QString& path, bool create) {
    const QString directory = PathDirectory(path);
    if (directory.isEmpty())
        return true;
    const QFileInfo info(directory);
    if (info.isDir())
        return true;
    // A file standing where a folder should be is never replaced.
    if (info.exists() || !create)
        return false;
    return QDir().mkpath(directory);
}

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
