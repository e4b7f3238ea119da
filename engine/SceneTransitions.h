// The transitions at the scene seams of Preview and Auto Rec: the previous row's transition is
// prepared while the player plays up to a scene and runs in as the scene begins; a row's own
// transition runs out at its end, before the recorder's pause (101..110) or after it (the
// joining ones). How long an out run holds the link is learned as the run goes, so the next one
// is started to end as the recorder stands. Preview shows the joining transitions through their
// early-out look-alikes.
#pragma once

#include <cstdint>
#include <functional>

struct EngineRun;

class SceneTransitions {
public:
    // Selecting a transition takes up to three exchanges: mode select, preparation and pattern.
    static constexpr double kSelectExchanges = 3;
    // An early out run's own commands (selecting it again and running it) must reach the player
    // before the pause may follow; half an exchange spare.
    static constexpr double kOutRunStartExchanges = kSelectExchanges + 1.5;

    explicit SceneTransitions(EngineRun& run) : run_(run) {}

    // A new operation; preview maps the transitions as Preview shows them.
    void Begin(bool preview) { preview_ = preview; }
    // Effects only act at normal forward play, and only with an effect device.
    bool Active() const;
    // The transition that runs in at the start of the current row: the previous row's.
    int Incoming() const;

    // Selects and arms the incoming transition (or disarms for none) and sets the row's effect.
    bool Prepare();
    // Runs the incoming transition in, following its progress until deadlineUs (0: the whole
    // run), then selects the row's own joining transition ahead.
    void RunIn(int64_t deadlineUs);
    // Runs the row's own transition out; betweenPolls as EffectUnit::RunTransition takes it.
    void RunOut(const std::function<bool()>& betweenPolls);
    // A joining transition's out run after the pause: started so that it ends as the recorder
    // stands (recorderStandsUs), once its length is known, and timed.
    void RunLateOut(int64_t recorderStandsUs);
    // An early out run took this long, the pause's own exchange not counted.
    void NoteEarlyOutRun(int64_t us) { earlyOutRunUs_ = us; }
    // How far before the recorder stands an early out run starts, in frames: its measured length,
    // but early enough that its commands go before the pause.
    double EarlyOutLeadFrames() const;

    // The device as it was before the operation: nothing armed, no effect, no transition.
    void Reset();

private:
    EngineRun& run_;
    bool preview_ = false;
    // How long the link is held by an out transition that runs before the pause and by one that
    // runs after it (their commands differ), learned as the runs go (-1: not yet).
    int64_t earlyOutRunUs_ = -1;
    int64_t lateOutRunUs_ = -1;
};
