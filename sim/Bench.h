// A bench: the devices hanging on the simulated bus, read from a JSON file (format in
// sim/README.md). Loading validates everything and refuses a malformed bench with a message
// naming the device and field at fault.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnsim {

// Deck mode numbers as the devices report them.
namespace deckmode {
constexpr int kEject = 0;
constexpr int kStop = 1;
constexpr int kFastForward = 2;
constexpr int kRewind = 3;
constexpr int kPause = 5;
constexpr int kPlay = 6;
constexpr int kReversePlay = 7;
constexpr int kRecPause = 13;
constexpr int kRecord = 14;
constexpr int kSlowForward = 22;
constexpr int kSlowReverse = 23;
constexpr int kSearchForward = 38;
constexpr int kSearchReverse = 39;
}  // namespace deckmode

// Mechanical settling times in frames, from a command until the tape does what it was told.
struct LatencySpec {
    int play = 0;      // play, reverse play: until the tape moves
    int pause = 0;     // pause: until the picture stands still
    int record = 0;    // record: until the deck records
    int recPause = 0;  // rec-pause: until recording stops
    int other = 0;     // every other mode change
};

struct DeckSpec {
    int tapeStart = 0;  // counter at the head of the tape, frames (may be negative)
    int tapeEnd = 0;    // counter at the end of the tape, frames
    int position = 0;
    int mode = deckmode::kStop;
    bool counter = true;  // false: the deck reports "no counter"
    LatencySpec latency;
    int jitterFrames = 0;  // each latency varies by up to this many frames either way
    int inputId = 0;       // bench id of the device whose picture this deck records; 0 = none
    // While a change settles the status reply shows the mode being left (false) or, as some
    // decks do, the mode being entered (true); the busy bit is set either way.
    bool busyShowsNewMode = false;
    // Tape frames per second of fast forward and rewind (wind) and of search, reached the ramp's
    // time after the change settles (a ramp of 0: at once). Reading a bench fills in 50 and 10
    // times normal play when the bench gives none.
    int windSpeed = 0;
    int searchSpeed = 0;
    int windRampMs = 0;
    int searchRampMs = 0;
};

struct EffectSpec {
    // Capability words 0..5 reported by the capability query; -1 is reported as "none".
    std::array<int, 6> capabilityWords{};
    bool refusesCapabilityQuery = false;
    // Progress queries answered "running" before a run in or out reports its end.
    int progressPolls = 5;
    // When above 0, a run lasts this many frames of time instead, however often it is asked.
    int transitionFrames = 0;
};

struct DeviceSpec {
    int id = 0;
    int category = 0;
    std::array<uint8_t, 5> groups{};
    std::array<uint8_t, 6> maker{};
    std::string name;
    bool powerOn = true;
    // After a power-on command the device still reports itself off, and refuses deck and
    // effect commands as a device in standby does, for this long.
    int powerOnMs = 0;
    int timecodeMode = 1;
    int answerDelayMs = 3;
    std::optional<DeckSpec> deck;
    std::optional<EffectSpec> effect;
    int editTerminalTargetId = 0;  // bench id of the deck the edit terminal records on

    bool HasGroup(uint8_t group) const;
};

class Bench {
public:
    static std::optional<Bench> FromFile(const std::string& path, std::string* error);
    static std::optional<Bench> FromJson(const std::string& text, std::string* error);

    const std::vector<DeviceSpec>& Devices() const { return devices_; }
    // Every device's answer delay replaced (the --answer-delay option).
    void OverrideAnswerDelay(int milliseconds);

private:
    std::vector<DeviceSpec> devices_;
};

}  // namespace tarnsim
