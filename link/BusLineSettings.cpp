#include "link/BusLineSettings.h"

termios BusLineSettings(const termios& current) {
    termios tio = current;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~(CSIZE | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | PARENB | PARODD | CREAD | CLOCAL;
    // Parity is generated on output but not checked on input: the bus interface never marks
    // bytes, and the check byte catches damaged replies.
    tio.c_iflag &= ~(INPCK | PARMRK | IGNPAR | IXON | IXOFF | IXANY);
    // Reads never block in the driver; Read waits with poll() under its own budgets.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tio;
}
