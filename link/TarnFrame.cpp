#include "link/TarnFrame.h"

#include <QStringList>

namespace tarn {

uint8_t CheckByte(const TarnFrame& frame) {
    unsigned sum = 0;
    for (int i = 0; i < kCheckByte; ++i)
        sum += frame[i];
    return static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0x7F);
}

TarnFrame BuildRequest(uint8_t id, const TarnCommand& command) {
    TarnFrame frame{};
    frame[0] = kRequestMark;
    frame[1] = kRequestMark;
    frame[kIdByte] = id;
    for (int i = 0; i < 7; ++i)
        frame[3 + i] = command[i];
    frame[kCheckByte] = CheckByte(frame);
    return frame;
}

bool HasReplyMarks(const TarnFrame& reply) {
    return reply[0] == kReplyMark && reply[1] == kRequestMark;
}

bool HasValidCheckByte(const TarnFrame& reply) {
    return reply[kCheckByte] == CheckByte(reply);
}

Verdict VerdictOf(uint8_t status) {
    const uint8_t verdict = status & kStatusVerdictMask;
    if (verdict == kStatusRefused)
        return Verdict::Refused;
    if ((status & kStatusBusy) != 0 || IsReading(status))
        return Verdict::Accepted;
    return Verdict::Again;
}

bool IsReading(uint8_t status) {
    const uint8_t verdict = status & kStatusVerdictMask;
    return verdict == 2 || verdict == 3 || verdict == 4;
}

bool IsFromOtherDevice(const TarnFrame& reply, uint8_t requestId) {
    const uint8_t from = reply[kIdByte];
    return IsAnsweringId(from) && from != requestId;
}

QString FrameToHex(const TarnFrame& frame) {
    QStringList hex;
    for (uint8_t b : frame)
        hex << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return hex.join(u' ');
}

}  // namespace tarn
