#include "link/GuardedLine.h"

#include "link/TapeGuard.h"

bool GuardedLine::Write(const uint8_t* data, size_t n) {
    if (!guard_.MayTalk())
        return false;
    const bool written = line_.Write(data, n);
    guard_.Beat();
    return written;
}

bool GuardedLine::Read(uint8_t* buffer, size_t n) {
    const bool read = line_.Read(buffer, n);
    guard_.Beat();
    return read;
}
