// The controller's numeric keypad: what each keypad key does, and which keys repeat while held
// (the scene and point keys; the transport keys act once per press).
#pragma once

#include <Qt>
#include <optional>

enum class KeypadAction {
    Entry,       // 0
    RevPress,    // 1, released with the key
    PlayPress,   // 2
    FFPress,     // 3, released with the key
    JogReverse,  // 4: shuttle one rung back, or one frame back in jog mode
    PausePress,  // 5
    JogForward,  // 6
    SlowRPress,  // 7
    DialPress,   // 8: the dial pressed at its centre, released with the key
    SlowPress,   // 9
    MarkOut,     // *
    SceneDown,   // +
    SceneUp,     // -
    StopPress,   // .
    MarkIn,      // /
};

// The action of a key of the numeric keypad; none for any other key.
std::optional<KeypadAction> KeypadActionFor(int key, Qt::KeyboardModifiers modifiers);

// The controller key a keypad key works (all but the dial's): pressed like the mouse presses
// it, or clicked (the editing keys). Keys 4 and 6 work the jog keys in shuttle mode and the step
// keys in jog mode.
struct KeypadTarget {
    const char* keyName;
    bool clicks;
};
KeypadTarget KeypadTargetFor(KeypadAction action, bool shuttle);

// Keys whose action repeats with the keyboard's auto-repeat while held.
bool RepeatsWhileHeld(KeypadAction action);

// Keys whose release also releases the pressed control (the wind keys and the dial).
bool ActsOnRelease(KeypadAction action);
