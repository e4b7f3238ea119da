// The bus's 11-byte frames as the devices see them: check byte, reply building, request fields.
// Written independently of the program's own codec so that a shared mistake cannot hide.
#pragma once

#include <array>
#include <cstdint>

namespace tarnsim {

constexpr int kFrameLength = 11;
using WireBytes = std::array<uint8_t, kFrameLength>;
using CommandBytes = std::array<uint8_t, 7>;
using DataBytes = std::array<uint8_t, 6>;

// What a device says back: the status byte and six data bytes.
struct Reply {
    uint8_t status = 0;
    DataBytes data{};
};

// Status bytes our devices use.
namespace status {
constexpr uint8_t kDone = 0x02;      // command carried out, nothing to report
constexpr uint8_t kAnswer = 0x03;    // reply carries data
constexpr uint8_t kRefused = 0x01;   // command not supported or malformed
constexpr uint8_t kNotReady = 0x05;  // deck or effect command while the device is off
constexpr uint8_t kBusyBit = 0x40;   // a mode change is still settling
}  // namespace status

// (0x100 - (sum of bytes 0..9 mod 0x100)) AND 0x7F.
uint8_t WireCheckByte(const uint8_t* firstTenBytes);

// FC FF, the answering id, the reply, and its check byte.
WireBytes BuildReplyFrame(uint8_t id, const Reply& reply);

// The request's destination id and its seven command bytes.
inline uint8_t RequestId(const WireBytes& request) {
    return request[2];
}
CommandBytes RequestCommand(const WireBytes& request);

}  // namespace tarnsim
