#include "link/PortResolver.h"

QString PortResolver::DevicePath(int port) const {
    // COM1 is the first on-board serial port, which Linux names ttyS0.
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}
