#include "sim/PtyLine.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

uint8_t Check(const Bytes& firstTen) {
    unsigned sum = 0;
    for (size_t i = 0; i < 10; ++i)
        sum += firstTen[i];
    return static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0x7F);
}

Bytes Frame(uint8_t mark, int id, const Bytes& body) {
    Bytes frame{mark, 0xFF, static_cast<uint8_t>(id)};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.resize(10, 0);
    frame.push_back(Check(frame));
    return frame;
}

}  // namespace

Bytes RequestFrame(int id, const Bytes& command) {
    return Frame(0xFF, id, command);
}

Bytes ReplyFrame(int id, uint8_t status, std::initializer_list<uint8_t> data) {
    Bytes body{status};
    body.insert(body.end(), data.begin(), data.end());
    return Frame(0xFC, id, body);
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", b);
        text += hex;
    }
    return text;
}

PtyLine::PtyLine(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0)
        return;
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tio.c_cflag |= PARENB | PARODD;
    tcsetattr(fd_, TCSANOW, &tio);
}

PtyLine::~PtyLine() {
    if (fd_ >= 0)
        close(fd_);
}

void PtyLine::Write(const Bytes& bytes) {
    tcflush(fd_, TCIOFLUSH);
    (void)!write(fd_, bytes.data(), bytes.size());
}

Bytes PtyLine::Read(size_t count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Bytes got;
    while (got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        uint8_t buffer[64];
        const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0)
            got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

Bytes PtyLine::Exchange(const Bytes& request, int timeoutMs) {
    Write(request);
    return Read(11, timeoutMs);
}
