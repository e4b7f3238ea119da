// The effect and transition codes a scene row carries and the effect toolbar button that stands
// for each: effects 1..5 are buttons 0..4 and effect 0 (none) button 5; transitions 101..117 are
// buttons 6..22 and "no transition" (0, 100 or any multiple of 100) button 23. A transition runs
// out at the end of its own scene: 101..110 before the recorder pauses, the joining ones
// (111..117) after it, which is why they are selected ahead when their scene starts.
#pragma once

namespace effectcodes {

constexpr int kNoEffect = 0;
constexpr int kLastEffect = 5;
constexpr int kNoTransition = 100;
constexpr int kFirstTransition = 101;
constexpr int kFirstWipeTransition = 105;     // 105..110 and 111..116 share their wipe patterns
constexpr int kLastEarlyOutTransition = 110;  // 101..110 run out before the recorder pauses
constexpr int kFirstJoiningTransition = 111;  // 111..117 blend into the following scene
constexpr int kLastJoiningWipe = 116;
constexpr int kLastTransition = 117;
constexpr int kWipePatterns = kFirstJoiningTransition - kFirstWipeTransition;
constexpr int kButtonCount = 24;
constexpr int kNoEffectButton = 5;
constexpr int kNoTransitionButton = 23;

constexpr bool IsNoTransition(int t) {
    return t % 100 == 0;
}
constexpr bool IsTransition(int t) {
    return t >= kFirstTransition && t <= kLastTransition;
}
// 100..117: a transition or "none".
constexpr bool IsTransitionOrNone(int t) {
    return t >= kNoTransition && t <= kLastTransition;
}
constexpr bool RunsOutEarly(int t) {
    return t >= kFirstTransition && t <= kLastEarlyOutTransition;
}
constexpr bool NeedsFollowingScene(int t) {
    return t >= kFirstJoiningTransition && t <= kLastTransition;
}
// Preview has no following scene to blend into: the joining transitions are shown through the
// early-out ones that look the same, their wipes by the same pattern and 117 as 101.
constexpr int PreviewTransition(int t) {
    if (t >= kFirstJoiningTransition && t <= kLastJoiningWipe)
        return t - kWipePatterns;
    return t == kLastTransition ? kFirstTransition : t;
}
constexpr int ButtonOfEffect(int e) {
    return e == kNoEffect ? kNoEffectButton : e - 1;
}
constexpr int ButtonOfTransition(int t) {
    return IsNoTransition(t) ? kNoTransitionButton : t - 95;
}
// The code of toolbar button i (0..23): an effect below 100, a transition from 100 on.
constexpr int CodeOfButton(int i) {
    if (i < kNoEffectButton)
        return i + 1;
    if (i == kNoEffectButton)
        return kNoEffect;
    if (i < kNoTransitionButton)
        return i + 95;
    return kNoTransition;
}
constexpr bool IsTransitionCode(int code) {
    return code >= kNoTransition;
}

}  // namespace effectcodes
