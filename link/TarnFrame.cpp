#include "link/TarnFrame.h"

namespace tarn {

uint8_t CheckByte(const TarnFrame& frame) {
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i) sum += frame[i];
    return static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0x7F);
}

TarnFrame BuildRequest(uint8_t id, const TarnCommand& command) {
    TarnFrame frame{};
    frame[0] = kRequestMark;
    frame[1] = kRequestMark;
    frame[2] = id;
    for (int i = 0; i < 7; ++i) frame[3 + i] = command[i];
    frame[10] = CheckByte(frame);
    return frame;
}

bool HasReplyMarks(const TarnFrame& reply) {
    return reply[0] == kReplyMark && reply[1] == kRequestMark;
}

bool HasValidCheckByte(const TarnFrame& reply) { return reply[10] == CheckByte(reply); }

}  // namespace tarn
