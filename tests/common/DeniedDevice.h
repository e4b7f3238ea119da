// A file this process may not open for reading and writing, for the messages about serial ports
// the user may not use. Root passes every file mode check, but the kernel's read-only settings
// refuse even root.
#pragma once

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QString>

inline QString DeniedDevicePath(const QString& folder) {
    if (::geteuid() == 0)
        return QStringLiteral("/proc/sys/kernel/version");
    const QString path = QDir(folder).filePath(QStringLiteral("denied-port"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(path, QFileDevice::Permissions());
    return path;
}
