// The Tarn frame codec: building 11-byte requests and checking 11-byte replies. Pure functions,
// no I/O, so every byte rule can be tested with constant vectors.
#pragma once

#include <array>
#include <cstdint>

using TarnFrame = std::array<uint8_t, 11>;
using TarnCommand = std::array<uint8_t, 7>;

namespace tarn {

constexpr uint8_t kRequestMark = 0xFF;
constexpr uint8_t kReplyMark = 0xFC;

// Check byte over bytes 0 to 9: the two's complement of the low byte of their sum, low 7 bits.
uint8_t CheckByte(const TarnFrame& frame);

// A complete request frame: FF FF, the id, the seven command bytes, the check byte.
TarnFrame BuildRequest(uint8_t id, const TarnCommand& command);

// True when the reply starts with FC FF (byte 2 is not examined).
bool HasReplyMarks(const TarnFrame& reply);

// True when the reply's byte 10 matches the check byte of its bytes 0 to 9.
bool HasValidCheckByte(const TarnFrame& reply);

}  // namespace tarn
