// The effect function of a player that mixes picture effects and transitions into its output:
// effect set, transition mode select / preparation / pattern, arm, run in and out with progress
// replies, the wipe-out sequence, and the capability query. Keeps the output state (current
// effect, transition running in or out) for the recorder that takes the picture in.
#pragma once

#include "sim/Bench.h"
#include "sim/WireFrame.h"

namespace tarnsim {

// What the effect function puts into the picture right now.
struct EffectOutput {
    int effect = 0;
    int transition = 0;  // transition running in or out, 0 when none runs
    bool transitionIn = false;
    // The transition whose out run has ended and whose end picture (black after a fade to
    // black) stands until the next run in or arm off; 0 when the picture is the tape's.
    int endState = 0;
};

class EffectPart {
public:
    EffectPart(const EffectSpec& spec, int framesPerSecond);

    static bool IsEffectGroup(uint8_t group) { return group == 0x18; }

    Reply Answer(const CommandBytes& command, int64_t nowMicros);

    EffectOutput Output(int64_t nowMicros) const;
    int SelectedTransition() const { return selected_; }
    bool Armed() const { return armedFamily_ != 0; }

private:
    // Which transition setup a mode select chose.
    enum class Setup { None, FamilyA, FamilyA117, FamilyB, FamilyBWipe };

    bool SelectMode(const CommandBytes& c);
    bool Prepare(const CommandBytes& c);
    bool ChoosePattern(const CommandBytes& c);
    bool Run(char family, bool in, int64_t nowMicros);
    void StartRun(bool in, int64_t nowMicros);
    bool RunOver(int64_t nowMicros) const;
    // A run that is over leaves its end picture behind when it ran out.
    void EndRunIfOver(int64_t nowMicros);
    Reply Progress(int64_t nowMicros);
    Reply Capability(int page) const;
    char SelectedFamily() const;

    EffectSpec spec_;
    int framesPerSecond_;
    int effect_ = 0;
    Setup setup_ = Setup::None;
    bool longPreparation_ = false;  // the 7F ... 04 preparation of 101 and 104
    bool prepared_ = false;
    int selected_ = 0;      // transition code the setup and pattern amount to, 0 = none
    char armedFamily_ = 0;  // 'A', 'B' or 0
    // The transition run last, with its side; it runs until its progress reports the end, or
    // until its time is up when the bench gives runs a length in frames.
    int runningTransition_ = 0;
    bool runningIn_ = false;
    int pollsLeft_ = 0;
    int64_t runEndMicros_ = 0;
    int endState_ = 0;
};

}  // namespace tarnsim
