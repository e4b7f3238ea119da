#include "controller/KeypadMap.h"

std::optional<KeypadAction> KeypadActionFor(int key, Qt::KeyboardModifiers modifiers) {
    // Only the keypad drives the deck: the same digits on the main keys stay free for typing
    // into other windows' fields.
    if (!(modifiers & Qt::KeypadModifier))
        return std::nullopt;
    switch (key) {
        case Qt::Key_0:
            return KeypadAction::Entry;
        case Qt::Key_1:
            return KeypadAction::RevPress;
        case Qt::Key_2:
            return KeypadAction::PlayPress;
        case Qt::Key_3:
            return KeypadAction::FFPress;
        case Qt::Key_4:
            return KeypadAction::JogReverse;
        case Qt::Key_5:
            return KeypadAction::PausePress;
        case Qt::Key_6:
            return KeypadAction::JogForward;
        case Qt::Key_7:
            return KeypadAction::SlowRPress;
        case Qt::Key_8:
            return KeypadAction::DialPress;
        case Qt::Key_9:
            return KeypadAction::SlowPress;
        case Qt::Key_Asterisk:
            return KeypadAction::MarkOut;
        case Qt::Key_Plus:
            return KeypadAction::SceneDown;
        case Qt::Key_Minus:
            return KeypadAction::SceneUp;
        case Qt::Key_Period:
        case Qt::Key_Comma:  // the decimal key of keypads laid out for a decimal comma
            return KeypadAction::StopPress;
        case Qt::Key_Slash:
            return KeypadAction::MarkIn;
        default:
            return std::nullopt;
    }
}

namespace {

// The key each keypad key works, in shuttle mode and in jog mode (the same but for 4 and 6).
struct KeypadKey {
    KeypadAction action;
    const char* shuttleKey;
    const char* jogKey;
    bool clicks;
};
constexpr KeypadKey kKeypadKeys[] = {
    {KeypadAction::Entry, "btnEntry", "btnEntry", true},
    {KeypadAction::RevPress, "btnRev", "btnRev", false},
    {KeypadAction::PlayPress, "btnPlay", "btnPlay", false},
    {KeypadAction::FFPress, "btnFF", "btnFF", false},
    {KeypadAction::JogReverse, "btnJogR", "btnStepR", false},
    {KeypadAction::PausePress, "btnPause", "btnPause", false},
    {KeypadAction::JogForward, "btnJogF", "btnStep", false},
    {KeypadAction::SlowRPress, "btnSlowR", "btnSlowR", false},
    {KeypadAction::SlowPress, "btnSlow", "btnSlow", false},
    {KeypadAction::MarkOut, "btnSout", "btnSout", true},
    {KeypadAction::SceneDown, "btnSdown", "btnSdown", true},
    {KeypadAction::SceneUp, "btnSup", "btnSup", true},
    {KeypadAction::StopPress, "btnStop", "btnStop", false},
    {KeypadAction::MarkIn, "btnSin", "btnSin", true},
};

}  // namespace

KeypadTarget KeypadTargetFor(KeypadAction action, bool shuttle) {
    for (const KeypadKey& key : kKeypadKeys) {
        if (key.action == action)
            return {shuttle ? key.shuttleKey : key.jogKey, key.clicks};
    }
    return {"", false};  // the dial: no key
}

bool RepeatsWhileHeld(KeypadAction action) {
    return action == KeypadAction::MarkOut || action == KeypadAction::SceneDown ||
           action == KeypadAction::SceneUp || action == KeypadAction::MarkIn;
}

bool ActsOnRelease(KeypadAction action) {
    return action == KeypadAction::RevPress || action == KeypadAction::FFPress ||
           action == KeypadAction::DialPress;
}
