// The Tarn frame codec: building 11-byte requests and checking 11-byte replies. Pure functions,
// no I/O, so every byte rule can be tested with constant vectors.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

using TarnFrame = std::array<uint8_t, 11>;
using TarnCommand = std::array<uint8_t, 7>;

// Outcome of one request/reply exchange. Code 1 has never been used on this link.
enum class LinkResult : int {
    Ok = 0,          // reply valid, or a request to an id that never answers was sent
    NotWritten = 2,  // no port open, or its device is gone
    NoReply = 3,     // time-out or short reply, or a write the open port did not take
    BadMarks = 4,    // reply does not begin with FC FF
    BadCheck = 5,    // reply check byte wrong
    BadId = 6,       // destination id outside 1 to 127; nothing sent
};

namespace tarn {

constexpr uint8_t kRequestMark = 0xFF;
constexpr uint8_t kReplyMark = 0xFC;

// Frame positions read by the layers above.
constexpr int kIdByte = 2;
constexpr int kStatusByte = 3;
constexpr int kDataByte = 4;  // reply data byte k is frame byte kDataByte + k
constexpr int kCheckByte = 10;

// Status byte: bit 0x40 = the device is still carrying out a command; the low three bits give
// the verdict (1 = refused; 2, 3, 4 = done; 0, 5, 6, 7 = try again).
constexpr uint8_t kStatusBusy = 0x40;
constexpr uint8_t kStatusVerdictMask = 0x07;
constexpr uint8_t kStatusRefused = 1;

// How a command's reply ends a retried exchange: a device busy with it has it too.
enum class Verdict { Accepted, Refused, Again };
Verdict VerdictOf(uint8_t status);

// A reply is a reading of the device (its mode, its counter) only when its verdict says done. A
// refused query or one the device could not answer carries no state, whatever its data bytes
// hold; the busy bit beside a done verdict says the reading was taken while a change settles.
bool IsReading(uint8_t status);

// Ids 1 to 99 answer; 100 to 127 take requests without answering; anything else is refused.
constexpr int kFirstAnsweringId = 1;
constexpr int kLastAnsweringId = 99;
constexpr int kLastSilentId = 127;

inline bool IsAnsweringId(int id) {
    return id >= kFirstAnsweringId && id <= kLastAnsweringId;
}
inline bool IsSendableId(int id) {
    return id >= kFirstAnsweringId && id <= kLastSilentId;
}

// Check byte over bytes 0 to 9: the two's complement of the low byte of their sum, low 7 bits.
uint8_t CheckByte(const TarnFrame& frame);

// A complete request frame: FF FF, the id, the seven command bytes, the check byte.
TarnFrame BuildRequest(uint8_t id, const TarnCommand& command);

// True when the reply starts with FC FF (byte 2 is not examined).
bool HasReplyMarks(const TarnFrame& reply);

// True when the reply's byte 10 matches the check byte of its bytes 0 to 9.
bool HasValidCheckByte(const TarnFrame& reply);

// True when reply byte 2 names a device other than the one the request went to: a late reply
// of another device. A byte 2 that names no device (0, or above 99) is no evidence either way.
bool IsFromOtherDevice(const TarnFrame& reply, uint8_t requestId);

// The frame as upper-case hexadecimal bytes separated by blanks: "FF FF 05 08 ...".
QString FrameToHex(const TarnFrame& frame);

}  // namespace tarn
