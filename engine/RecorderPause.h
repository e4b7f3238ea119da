// The recorder's rec-pause at the end of an operation, confirmed by the recorder's own status.
// Every way an operation ends (finished, Stop, a failure, a signal, a deck lost for a moment)
// leaves the recorder out of record: the pause goes out again until a reading shows the recorder
// standing in rec-pause or stop, for as long as a recorder that is away may take to come back.
// A recorder that is still settling into a pause it took is only read, never sent the pause
// again: a repeated command would start its change over.
#pragma once

#include <cstdint>
#include <functional>

class Clock;
class EngineDecks;

// What one status question to the recorder told.
struct RecorderStand {
    bool answered = false;
    bool busy = false;  // still carrying out a change
    int mode = 0;

    // Settled, and in a mode that takes nothing onto the tape: rec-pause, stop, or no tape.
    bool Standing() const;
};

namespace recorderpause {

// A recorder away for a moment (a loose cable, a deck switched off and on) has this long to
// come back and take the pause.
inline constexpr int64_t kConfirmLimitUs = 10'000'000;
// A recorder that did not answer is asked again after this pause: a line without it (or a port
// that hung up) fails at once, and ten questions a second find it back soon enough.
inline constexpr int kUnansweredGapMs = 100;

// Sends rec-pause: true when the recorder took it.
using Send = std::function<bool()>;
using Read = std::function<RecorderStand()>;

// Until read shows the recorder standing, or kConfirmLimitUs passed: true once it stands.
// taken: the recorder already took a pause that it may still be carrying out.
bool UntilStanding(Clock& clock, bool taken, const Send& send, const Read& read);

// The engine's recorder: through the player's edit terminal or directly, read on its own id.
// False when it may still be recording: it never confirmed, or (the edit terminal alone, which
// cannot be read) the pause was not taken.
bool PauseRecorder(EngineDecks& decks, Clock& clock, bool taken);

}  // namespace recorderpause
