// The test's side of the simulated line: opens the simulator's pseudo-terminal like a serial
// port and exchanges raw bytes with plain POSIX calls, so the tests share no code with the
// simulator's frame handling (nor with the program's).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// FF FF id command... check, with the command padded by zeros to seven bytes.
Bytes RequestFrame(int id, const Bytes& command);
inline Bytes RequestFrame(int id, std::initializer_list<uint8_t> command) {
    return RequestFrame(id, Bytes(command));
}
// Reply frame FC FF id status data... check.
Bytes ReplyFrame(int id, uint8_t status, std::initializer_list<uint8_t> data);
std::string Hex(const Bytes& bytes);

class PtyLine {
public:
    explicit PtyLine(const std::string& path);
    ~PtyLine();
    bool IsOpen() const { return fd_ >= 0; }

    void Write(const Bytes& bytes);
    // Whatever arrives until `count` bytes are in or `timeoutMs` has passed.
    Bytes Read(size_t count, int timeoutMs);
    // Sends a request and reads up to one reply frame; empty when the device keeps silent.
    Bytes Exchange(const Bytes& request, int timeoutMs = 300);

private:
    int fd_ = -1;
};
