// Cuts the byte stream a device hears into request frames: syncs on FF FF, checks the check byte,
// and reports bytes it had to throw away (noise, bad check bytes, frames cut short).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/WireFrame.h"

namespace tarnsim {

struct ParserEvent {
    bool isFrame = false;
    WireBytes frame{};             // when isFrame
    std::vector<uint8_t> dropped;  // otherwise: the bytes thrown away
    std::string reason;            // why they were thrown away
};

class RequestParser {
public:
    // A frame whose bytes stop arriving for this long is abandoned: a sender that gave up on
    // an exchange starts its next request from scratch.
    static constexpr int64_t kIncompleteFrameMicros = 50'000;

    void Feed(uint8_t byte, int64_t nowMicros);
    // Abandons an incomplete frame after the line has been quiet long enough.
    void Expire(int64_t nowMicros);
    std::vector<ParserEvent> TakeEvents();

private:
    void Scan();
    void Drop(size_t count, const char* reason);
    void FlushDropped();

    std::vector<uint8_t> buffer_;
    int64_t lastByteMicros_ = 0;
    std::vector<uint8_t> dropped_;
    std::string dropReason_;
    std::vector<ParserEvent> events_;
};

}  // namespace tarnsim
