#include "engine/RecorderPause.h"

#include "engine/EngineDecks.h"
#include "engine/EngineLog.h"
#include "link/Clock.h"
#include "link/TarnCommands.h"

bool RecorderStand::Standing() const {
    if (!answered || busy)
        return false;
    return mode == ModeRecordPause || mode == ModeStop || mode == ModeEject || mode == ModeNoDeck;
}

namespace recorderpause {

bool UntilStanding(Clock& clock, bool taken, const Send& send, const Read& read) {
    const int64_t deadline = clock.NowUs() + kConfirmLimitUs;
    for (;;) {
        if (!taken)
            taken = send();
        const RecorderStand stand = read();
        if (stand.Standing())
            return true;
        // Settled in another mode: the pause was lost or refused, and goes out again. A recorder
        // that did not answer keeps what it took.
        if (stand.answered && !stand.busy)
            taken = false;
        if (clock.NowUs() >= deadline) {
            qCWarning(lcEngine) << "the recorder did not confirm its rec-pause: mode" << stand.mode
                                << (stand.answered ? "" : "(no answer)");
            return false;
        }
        if (!stand.answered)
            clock.Sleep(kUnansweredGapMs);
    }
}

bool PauseRecorder(EngineDecks& decks, Clock& clock, bool taken) {
    const AutoDevices& devices = decks.Devices();
    if (devices.recorderId == 0)
        return taken || static_cast<bool>(decks.RecorderCommand(true));
    return UntilStanding(
        clock, taken, [&decks] { return static_cast<bool>(decks.RecorderCommand(true)); },
        [&decks] {
            const EngineDecks::RecorderReading r = decks.ReadRecorder(1);
            return RecorderStand{r.ok, r.busy, r.mode};
        });
}

}  // namespace recorderpause
