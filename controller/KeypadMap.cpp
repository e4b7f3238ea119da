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

KeypadTarget KeypadTargetFor(KeypadAction action, bool shuttle) {
    switch (action) {
        case KeypadAction::Entry:
            return {"btnEntry", true};
        case KeypadAction::RevPress:
            return {"btnRev", false};
        case KeypadAction::PlayPress:
            return {"btnPlay", false};
        case KeypadAction::FFPress:
            return {"btnFF", false};
        case KeypadAction::JogReverse:
            return {shuttle ? "btnJogR" : "btnStepR", false};
        case KeypadAction::PausePress:
            return {"btnPause", false};
        case KeypadAction::JogForward:
            return {shuttle ? "btnJogF" : "btnStep", false};
        case KeypadAction::SlowRPress:
            return {"btnSlowR", false};
        case KeypadAction::SlowPress:
            return {"btnSlow", false};
        case KeypadAction::MarkOut:
            return {"btnSout", true};
        case KeypadAction::SceneDown:
            return {"btnSdown", true};
        case KeypadAction::SceneUp:
            return {"btnSup", true};
        case KeypadAction::StopPress:
            return {"btnStop", false};
        case KeypadAction::MarkIn:
            return {"btnSin", true};
        case KeypadAction::DialPress:
            break;
    }
    return {"", false};
}

bool RepeatsWhileHeld(KeypadAction action) {
    return action == KeypadAction::MarkOut || action == KeypadAction::SceneDown ||
           action == KeypadAction::SceneUp || action == KeypadAction::MarkIn;
}

bool ActsOnRelease(KeypadAction action) {
    return action == KeypadAction::RevPress || action == KeypadAction::FFPress ||
           action == KeypadAction::DialPress;
}
