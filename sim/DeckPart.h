// The deck commands of a simulated deck: transport modes, record and rec-pause (also through an
// edit terminal), step, and the status and speed queries with their reply layouts.
#pragma once

#include "sim/DeckModel.h"
#include "sim/WireFrame.h"

namespace tarnsim {

class DeckPart {
public:
    DeckPart(const DeckSpec& spec, int timecodeMode, uint32_t jitterSeed);

    static bool IsDeckGroup(uint8_t group) { return group == 0x08 || group == 0x48; }

    // `terminalTarget` is the deck that this device's edit terminal records on, or null.
    Reply Answer(const CommandBytes& command, int64_t nowMicros, DeckPart* terminalTarget);

    // The status layout: mode, counting mode, counter with sign and "no counter" bits.
    Reply StatusReply() const;
    Reply SpeedReply() const;

    DeckModel& Model() { return model_; }
    const DeckModel& Model() const { return model_; }
    int TimecodeMode() const { return timecodeMode_; }

private:
    DeckModel model_;
    int timecodeMode_;
    bool busyShowsNewMode_;
};

}  // namespace tarnsim
