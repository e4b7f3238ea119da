#include "LinkOperations.h"

#include <iterator>

#include "FuzzSupport.h"
#include "edit/Timecode.h"
#include "link/DeviceRecord.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

namespace fuzz {

void RunLinkOperation(uint8_t op, TarnSys& sys, TarnVtr& vtr) {
    static constexpr int kModes[] = {
        ModeEject,       ModeStop,          ModeFastForward,   ModeRewind, ModePause,
        ModePlay,        ModeReversePlay,   ModeRecordPause,   ModeRecord, ModeSlowForward,
        ModeSlowReverse, ModeForwardSearch, ModeReverseSearch, ModeNoDeck};
    const bool flag = (op & 0x80) != 0;
    switch (op % 8) {
        case 0:
            vtr.ReadStatus();
            break;
        case 1:
            vtr.SetMode(kModes[(op >> 3) % std::size(kModes)], flag);
            break;
        case 2:
            vtr.Record(flag, (op & 0x40) != 0);
            break;
        case 3:
            vtr.Step(flag);
            break;
        case 4:
            vtr.CheckPower();
            vtr.ReadSpeed();
            break;
        case 5: {
            DeviceRecord record;
            record.id = 1;
            sys.ReadDeviceInfo(record);
            record.Name();
            break;
        }
        case 6:
            sys.Power(flag, (op & 0x40) != 0);
            break;
        default: {
            int32_t frames = 0;
            Timecode tc;
            const LinkJobResult r = vtr.QueryStatus(1 + (op >> 3) % 2);
            if (r.ok && TarnVtr::DecodeCounter(r.reply, &frames, &tc))
                TarnVtr::CounterText(frames, tc);
            break;
        }
    }
    const DeckState state = vtr.State();
    fuzz::Require(state.counterText.size() == 12, "the counter shows a sign and 11 characters");
}

}  // namespace fuzz
