#include "sim/DeckPart.h"

#include <cmath>
#include <cstdlib>

#include "sim/CounterTime.h"

namespace tarnsim {

namespace {

struct ModeCommand {
    uint8_t b1, b2;
    int mode;
};

// Transport commands: 08 b1 b2 00 00 00 00.
constexpr ModeCommand kModeCommands[] = {
    {0x41, 0x60, deckmode::kEject},         {0x44, 0x60, deckmode::kStop},
    {0x44, 0x75, deckmode::kFastForward},   {0x44, 0x65, deckmode::kRewind},
    {0x43, 0x6D, deckmode::kPause},         {0x43, 0x75, deckmode::kPlay},
    {0x43, 0x65, deckmode::kReversePlay},   {0x42, 0x6D, deckmode::kRecPause},
    {0x42, 0x70, deckmode::kRecord},        {0x43, 0x20, deckmode::kSlowForward},
    {0x43, 0x24, deckmode::kSlowReverse},   {0x43, 0x21, deckmode::kSearchForward},
    {0x43, 0x25, deckmode::kSearchReverse},
};

bool Matches(const CommandBytes& c, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3 = 0) {
    return c[0] == b0 && c[1] == b1 && c[2] == b2 && c[3] == b3 && c[4] == 0 && c[5] == 0 &&
           c[6] == 0;
}

// How the counter's counting mode is told in the status reply.
uint8_t CountingModeByte(int timecodeMode) {
    if (timecodeMode == 0)
        return 0x04;
    return timecodeMode == 2 ? 0x01 : 0x00;
}

}  // namespace

DeckPart::DeckPart(const DeckSpec& spec, int timecodeMode, uint32_t jitterSeed)
    : model_(spec, CounterTime::FramesPerSecond(timecodeMode), jitterSeed),
      timecodeMode_(timecodeMode),
      busyShowsNewMode_(spec.busyShowsNewMode) {}

Reply DeckPart::Answer(const CommandBytes& c, int64_t now, DeckPart* terminalTarget) {
    model_.AdvanceTo(now);
    if (Matches(c, 0x08, 0x4E, 0x20))
        return StatusReply();
    if (Matches(c, 0x48, 0x4E, 0x20))
        return SpeedReply();
    for (const ModeCommand& m : kModeCommands)
        if (Matches(c, 0x08, m.b1, m.b2)) {
            model_.Command(m.mode, now);
            return StatusReply();
        }
    for (int direction : {1, -1})
        if (Matches(c, 0x48, 0x46, direction > 0 ? 0x75 : 0x65, 0x01)) {
            model_.Step(direction);
            return StatusReply();
        }
    // The edit terminal passes record and rec-pause on to the deck it is cabled to, and
    // answers with that deck's status.
    for (bool record : {true, false})
        if (terminalTarget && Matches(c, 0x48, 0x50, record ? 0x70 : 0x60)) {
            terminalTarget->model_.Command(record ? deckmode::kRecord : deckmode::kRecPause, now);
            return terminalTarget->StatusReply();
        }
    return Reply{status::kRefused, {}};
}

Reply DeckPart::StatusReply() const {
    Reply r{status::kAnswer, {}};
    if (model_.Busy())
        r.status |= status::kBusyBit;
    // Slow and search report their full mode number; its low four bits read as play or
    // reverse play, and the speed query tells them apart.
    const int shown = busyShowsNewMode_ ? model_.PendingMode() : model_.Mode();
    r.data[0] = static_cast<uint8_t>(shown);
    r.data[1] = CountingModeByte(timecodeMode_);
    if (!model_.CounterAvailable()) {
        r.data[4] = 0x40;
        return r;
    }
    const int counter = model_.Counter();
    const CounterFields f = CounterTime::FromFrames(std::abs(counter), timecodeMode_);
    r.data[2] = static_cast<uint8_t>(f.hours & 0x3F);
    r.data[3] = static_cast<uint8_t>(f.minutes | (counter < 0 ? 0x40 : 0));
    r.data[4] = static_cast<uint8_t>(f.seconds);
    r.data[5] = static_cast<uint8_t>(f.frames);
    return r;
}

// Direction byte, then the speed as whole multiples in two bytes and 256ths in the third;
// the last byte is 0 at normal forward play and 1 at any other speed.
Reply DeckPart::SpeedReply() const {
    const double speed = model_.ModeSpeedMultiple();
    Reply r{status::kAnswer, {}};
    const bool normalForward = speed == 1.0;
    r.data[0] = normalForward ? 0x75 : (speed < 0 ? 0x67 : 0x77);
    const int scaled = static_cast<int>(std::lround(std::fabs(speed) * 256));
    const int whole = scaled / 256;
    r.data[1] = static_cast<uint8_t>(whole >> 8);
    r.data[2] = static_cast<uint8_t>(whole & 0xFF);
    r.data[3] = static_cast<uint8_t>(scaled % 256);
    r.data[4] = normalForward ? 0 : 1;
    return r;
}

}  // namespace tarnsim
