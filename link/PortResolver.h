// Maps a port number (COM1 to COM4 in the settings) to the terminal device that carries it.
// Derived classes can look the path up elsewhere and fall back to this default.
#pragma once

#include <QString>

class PortResolver {
public:
    virtual ~PortResolver() = default;

    // The device path of port n (1 to 4); by default /dev/ttyS<n-1>.
    virtual QString DevicePath(int port) const;
};
