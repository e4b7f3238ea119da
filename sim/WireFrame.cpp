#include "sim/WireFrame.h"

namespace tarnsim {

uint8_t WireCheckByte(const uint8_t* firstTenBytes) {
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += firstTenBytes[i];
    return static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0x7F);
}

WireBytes BuildReplyFrame(uint8_t id, const Reply& reply) {
    WireBytes frame{};
    frame[0] = 0xFC;
    frame[1] = 0xFF;
    frame[2] = id;
    frame[3] = reply.status;
    for (int i = 0; i < 6; ++i)
        frame[4 + i] = reply.data[i];
    frame[10] = WireCheckByte(frame.data());
    return frame;
}

CommandBytes RequestCommand(const WireBytes& request) {
    CommandBytes command{};
    for (int i = 0; i < 7; ++i)
        command[i] = request[3 + i];
    return command;
}

}  // namespace tarnsim
