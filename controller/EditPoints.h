// The controller's editing rules on the edit list: which editing keys are enabled, the scene
// label, and the actions of Entry, In, Out, Trim and the scene keys. Plain functions of the list
// and the device choice, so the window only shows what they decide.
#pragma once

#include <QString>
#include <cstdint>

class SceneList;

struct EditKeyStates {
    QString sceneLabel;  // "SCENE 03" or "SCENE --"
    bool sceneUp = false;
    bool sceneDown = false;
    bool sceneEnd = false;  // btnSend
    bool markIn = false;
    bool markOut = false;
    bool trimMinus = false;
    bool trimPlus = false;
    bool gotoScene = false;
    bool preview = false;
    bool autoRec = false;
    bool programEdit = false;
    // Review is only ever disabled here (an Auto Rec that moved the recorder enables it); when
    // this is false its state stays as it is.
    bool reviewOff = false;
};

struct DeviceChoice {
    int playerId = 0;
    int recorderId = 0;
};

// The enabled state of every editing key for the list as it is.
EditKeyStates EvaluateEditKeys(const SceneList& list, DeviceChoice devices);

// Entry is possible at counter `counterFrames` (in the list's mode) while driving the player.
bool EntryPossible(const SceneList& list, int32_t counterFrames, bool drivingPlayer);

// The counter text Entry stores: the deck's counter text without its sign, or zero while the
// counter is negative.
QString EntryCounterValue(const QString& counterText, bool counterNegative);

// Entry at `counterValue`: closes the current row's open in point, or opens a new scene row
// after the current row. With several rows selected the current row first becomes the only
// selected one, so a missing or unrelated row is never written. False when nothing changed.
bool Entry(SceneList& list, const QString& counterValue);

enum class EditPoint { In = 1, Out = 2 };
void MarkPoint(SceneList& list, EditPoint point);

// Moves the current row's marked point by `frames` (+1 or -1), never below zero; the row's
// duration and the total are recomputed and the list counts as modified either way.
void TrimPoint(SceneList& list, int frames);

// Selects the row above (-1) or below (+1) the current one; nothing at either end.
void StepScene(SceneList& list, int step);
