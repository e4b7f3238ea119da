// The automatic editing engine on a simulated bench: the simulator serves a camcorder player
// (id 1, whose edit terminal records on id 2) and a VCR recorder (id 2) on a pseudo-terminal,
// and the program's whole link stack, effect unit and engine run on it with a test host.
// The simulated decks run faster than real time, so runs of a few seconds of tape stay short.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestHost.h"
#include "config/CaptionTable.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/TarnLink.h"
#include "link/TarnVtr.h"
#include "sim/Simulator.h"

#if defined(__SANITIZE_THREAD__)
#define CLIPWRIGHT_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define CLIPWRIGHT_UNDER_TSAN 1
#endif
#endif

// Under ThreadSanitizer the program runs many times slower: the decks keep real time, the line
// its 9600 baud pace (so a deck settling into a mode is followed for as long as on a real bus),
// and the tests check order and outcome; their frame checks are skipped, saying so.
#ifdef CLIPWRIGHT_UNDER_TSAN
inline constexpr double kSimTimeScale = 1.0;
inline constexpr bool kSimPacing = true;
inline constexpr bool kFramesCheckable = false;
#else
inline constexpr double kSimTimeScale = 3.0;
inline constexpr bool kSimPacing = false;
inline constexpr bool kFramesCheckable = true;
#endif
// How far a scene may land from its frames in a run on the simulator.
inline constexpr int kFrameTolerance = 5;

// Where frames cannot be checked, the test is marked skipped with the reason and the function
// returns here: its frame checks follow this line.
#define SKIP_WHERE_FRAMES_UNCHECKABLE() \
    if (!kFramesCheckable)              \
    GTEST_SKIP() << "frames are not checked under ThreadSanitizer: the program runs too slowly"

inline constexpr int kPlayerId = 1;
inline constexpr int kRecorderId = 2;

// Simulated time that runs `scale` times faster than real time.
class ScaledSimClock : public tarnsim::SimClock {
public:
    explicit ScaledSimClock(double scale);
    int64_t NowMicros() const override;

private:
    double scale_;
    std::chrono::steady_clock::time_point start_;
};

// Frames of a 30 fps counter text "HH:MM:SS:FF".
int Frames(const char* timecode);
// A scene row from in to out (frames, counted in mode), or a tape-change row.
Scene SceneRow(int in, int out, int effect = 0, int transition = 0, TCMode mode = Fps30);
Scene TapeChangeRow();

// One scene as the recorder's tape holds it: consecutive tape segments of consecutive player
// frames joined.
struct RecordedScene {
    int recFrom = 0, recTo = 0;
    int srcFrom = 0, srcTo = 0;
    std::vector<tarnsim::TapeSegment> segments;
};
std::vector<RecordedScene> RecordedScenes(const std::vector<tarnsim::TapeSegment>& segments);

// How many requests to id the simulator heard that began with these command bytes.
int SentRequests(const tarnsim::Simulator& sim, int id, std::initializer_list<uint8_t> command);

// The demo bench with the player standing at `playerPosition` (frames), stopped, and the
// recorder at `recorderPosition`; both decks count in timecodeMode.
std::string EngineBench(int playerPosition, int recorderPosition = 900, int timecodeMode = 1);

class EngineFixture : public ::testing::Test {
protected:
    // Serves the bench at the fixture's pace (faster than real time, unpaced), or with
    // `realLine` in real time at the pace of a 9600 baud line, as a real bus runs.
    void Serve(const std::string& benchJson, bool realLine = false);
    void TearDown() override;
    // Stops polling and closes the program's side of the link, so that another process (the
    // CLI under test) can take the simulator's terminal, which is opened exclusively.
    void ReleasePort();

    // Row 0 (the first tape) followed by rows; the current row becomes `current`.
    void SetScenes(const std::vector<Scene>& rows, int current = 1);
    // AutoStart(kind) and the event loop until finished(); the result, or -1 after the timeout.
    // While it runs, `watch` is called every few milliseconds on the test's thread.
    std::optional<AutoResult> Run(AutoKind kind, const std::function<void()>& watch = {},
                                  int timeoutMs = 180000);
    std::optional<AutoResult> RunStarted(const std::function<bool()>& start,
                                         const std::function<void()>& watch, int timeoutMs);
    // As the controller's Auto Rec button: the recorder's position, then AutoStart.
    std::optional<AutoResult> RunAutoRec(const std::function<void()>& watch = {});
    tarnsim::DeviceState Deck(int id) const { return *sim->Device(id); }
    // How many requests to id began with these command bytes.
    int Sent(int id, std::initializer_list<uint8_t> command) const;
    // How many requests went to id at all.
    int SentTo(int id) const;

    // How much faster than real time the simulated decks run (1 with CLIPWRIGHT_E2E_REAL_TIME).
    double simTimeScale = kSimTimeScale;
    std::shared_ptr<ScaledSimClock> simClock;
    std::unique_ptr<tarnsim::Simulator> sim;
    CComm comm;
    SteadyClock clock;
    std::unique_ptr<CTarnIO> io;
    std::unique_ptr<TarnLink> link;
    std::unique_ptr<TarnVtr> vtr;
    std::unique_ptr<EffectUnit> effects;
    CaptionTable captions;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<AutoEngine> engine;
};
