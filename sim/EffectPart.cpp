#include "sim/EffectPart.h"

#include <algorithm>

namespace tarnsim {

namespace {

// Command bodies: 18 followed by these bytes, the rest zero.
using Body = std::initializer_list<uint8_t>;

bool Is(const CommandBytes& c, Body tail) {
    if (c[0] != 0x18)
        return false;
    size_t i = 1;
    for (uint8_t b : tail)
        if (c[i++] != b)
            return false;
    return std::all_of(c.begin() + i, c.end(), [](uint8_t b) { return b == 0; });
}

// Effect number by the byte after 18 48.
constexpr uint8_t kEffectBytes[] = {0x60, 0x26, 0x21, 0x22, 0x25, 0x20};

// Family B patterns by the byte after 18 41, in transition order 105..110 (111..116).
constexpr uint8_t kWipePatterns[] = {0x21, 0x27, 0x24, 0x26, 0x25, 0x28};

Reply Done() {
    return Reply{status::kDone, {}};
}
Reply Refused() {
    return Reply{status::kRefused, {}};
}

}  // namespace

EffectPart::EffectPart(const EffectSpec& spec, int framesPerSecond)
    : spec_(spec), framesPerSecond_(framesPerSecond) {}

Reply EffectPart::Answer(const CommandBytes& c, int64_t now) {
    EndRunIfOver(now);
    for (int e = 0; e < 6; ++e)
        if (Is(c, {0x48, kEffectBytes[e]})) {
            effect_ = e;
            return Done();
        }
    if (c[1] == 0x44 || c[1] == 0x40)
        return SelectMode(c) ? Done() : Refused();
    if (c[1] == 0x46)
        return Prepare(c) ? Done() : Refused();
    if (c[1] == 0x45 || c[1] == 0x41)
        return ChoosePattern(c) ? Done() : Refused();
    for (char family : {'A', 'B'}) {
        const uint8_t group = family == 'A' ? 0x47 : 0x43;
        if (Is(c, {group, 0x70}) || Is(c, {group, 0x60})) {
            armedFamily_ = c[2] == 0x70 ? family : 0;
            if (!armedFamily_)
                endState_ = 0;  // disarming gives the picture back (the reset after every run)
            return Done();
        }
        if (Is(c, {group, 0x65}) || Is(c, {group, 0x75}))
            return Run(family, c[2] == 0x65, now) ? Done() : Refused();
        if (Is(c, {group, 0x7E}))
            return Progress(now);
    }
    if (Is(c, {0x49, 0x70})) {
        // The overlap transitions (111..117) end with the wipe-out instead of a plain run out.
        if ((setup_ != Setup::FamilyBWipe && setup_ != Setup::FamilyA117) || !selected_)
            return Refused();
        StartRun(false, now);
        return Done();
    }
    if (c[1] == 0x4C && c[2] <= 5 && Is(c, {0x4C, c[2]}) && !spec_.refusesCapabilityQuery)
        return Capability(c[2]);
    return Refused();
}

// A new mode select starts a new setup: preparation and pattern must follow it.
bool EffectPart::SelectMode(const CommandBytes& c) {
    Setup setup = Setup::None;
    if (Is(c, {0x44, 0x20}))
        setup = Setup::FamilyA;
    if (Is(c, {0x44, 0x20, 0x10}))
        setup = Setup::FamilyA117;
    if (Is(c, {0x40, 0x20}))
        setup = Setup::FamilyB;
    if (Is(c, {0x40, 0x20, 0x10}))
        setup = Setup::FamilyBWipe;
    if (setup == Setup::None)
        return false;
    setup_ = setup;
    prepared_ = false;
    longPreparation_ = false;
    selected_ = 0;
    return true;
}

bool EffectPart::Prepare(const CommandBytes& c) {
    const bool longForm = Is(c, {0x46, 0x20, 0x7F, 0x00, 0x00, 0x04});
    if (!longForm && !Is(c, {0x46, 0x20}))
        return false;
    // Only the plain setups take a preparation, and only family A the long one.
    if (setup_ != Setup::FamilyA && !(setup_ == Setup::FamilyB && !longForm))
        return false;
    prepared_ = true;
    longPreparation_ = longForm;
    return true;
}

// The pattern completes the setup; together they name one transition.
bool EffectPart::ChoosePattern(const CommandBytes& c) {
    int code = 0;
    if (setup_ == Setup::FamilyA117 && Is(c, {0x45, 0x20, 0x7F}))
        code = 117;
    if (setup_ == Setup::FamilyA && prepared_) {
        if (Is(c, {0x45, 0x20, 0x7F}))
            code = longPreparation_ ? 101 : 103;
        if (Is(c, {0x45, 0x21}) && !longPreparation_)
            code = 102;
        if (Is(c, {0x45, 0x22, 0x23}) && longPreparation_)
            code = 104;
    }
    const bool wipe = setup_ == Setup::FamilyBWipe;
    if (wipe || (setup_ == Setup::FamilyB && prepared_))
        for (int i = 0; i < 6; ++i)
            if (Is(c, {0x41, kWipePatterns[i]}))
                code = (wipe ? 111 : 105) + i;
    if (!code)
        return false;
    selected_ = code;
    return true;
}

void EffectPart::StartRun(bool in, int64_t now) {
    if (in)
        endState_ = 0;  // the next scene comes in out of the end picture
    runningTransition_ = selected_;
    runningIn_ = in;
    pollsLeft_ = spec_.progressPolls;
    runEndMicros_ = now + int64_t{spec_.transitionFrames} * 1'000'000 / framesPerSecond_;
}

bool EffectPart::RunOver(int64_t now) const {
    if (!runningTransition_)
        return true;
    return spec_.transitionFrames > 0 ? now >= runEndMicros_ : pollsLeft_ == 0;
}

void EffectPart::EndRunIfOver(int64_t now) {
    if (!runningTransition_ || !RunOver(now))
        return;
    if (!runningIn_)
        endState_ = runningTransition_;
    runningTransition_ = 0;
}

char EffectPart::SelectedFamily() const {
    if (!selected_)
        return 0;
    return (selected_ <= 104 || selected_ == 117) ? 'A' : 'B';
}

bool EffectPart::Run(char family, bool in, int64_t now) {
    if (SelectedFamily() != family)
        return false;
    StartRun(in, now);
    return true;
}

// Running: data byte 0 counts the polls (or whole frames) still to come, byte 1 is 2, byte 2
// clear. Finished (or idle): 7F 01 and byte 2 = 05, which every reader of the progress takes as
// the end.
Reply EffectPart::Progress(int64_t now) {
    Reply r{status::kAnswer, {}};
    if (!RunOver(now)) {
        int left = 0;
        if (spec_.transitionFrames > 0) {
            left = static_cast<int>((runEndMicros_ - now) * framesPerSecond_ / 1'000'000);
        } else {
            left = pollsLeft_;
            --pollsLeft_;
        }
        r.data[0] = static_cast<uint8_t>(std::clamp(left, 1, 0x7E));
        r.data[1] = 0x02;
        return r;
    }
    EndRunIfOver(now);
    r.data[0] = 0x7F;
    r.data[1] = 0x01;
    r.data[2] = 0x05;
    return r;
}

// Data bytes 0..4 carry the word a nibble each, most significant first; byte 5 stays clear.
// A word of -1 is told as "none": all nibbles set, the last one odd.
Reply EffectPart::Capability(int page) const {
    Reply r{status::kAnswer, {}};
    const int word = spec_.capabilityWords[page];
    for (int i = 0; i < 5; ++i)
        r.data[i] = word == -1 ? 0x0F : static_cast<uint8_t>((word >> (4 * (4 - i))) & 0x0F);
    return r;
}

EffectOutput EffectPart::Output(int64_t now) const {
    if (!RunOver(now))
        return EffectOutput{effect_, runningTransition_, runningIn_, endState_};
    // A run that is over but not yet asked about has left its end picture all the same.
    const bool endedOut = runningTransition_ && !runningIn_;
    return EffectOutput{effect_, 0, false, endedOut ? runningTransition_ : endState_};
}

}  // namespace tarnsim
