#include "link/PortAccess.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

bool IsAccessDenied(uint32_t systemError) {
    return systemError == EACCES || systemError == EPERM;
}

QString PortGroup(const QString& path) {
    const QString fallback = QStringLiteral("dialout");
    struct stat status {};
    if (::stat(path.toLocal8Bit().constData(), &status) != 0 || status.st_gid == 0)
        return fallback;
    const struct group* owner = ::getgrgid(status.st_gid);
    return owner != nullptr ? QString::fromLocal8Bit(owner->gr_name) : fallback;
}

QString SystemErrorText(uint32_t systemError) {
    return QString::fromLocal8Bit(std::strerror(static_cast<int>(systemError)));
}
