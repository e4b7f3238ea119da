// The main window's artwork for scene rows and the effect toolbar: the effect pictures (`ilEffect`,
// index = effect code), the transition pictures (`ilTrs`, index = transition code - 100), their
// greyed forms (`ilEffectDs`, `ilTrsDs`) and the plus-shaped copy cursor of a Ctrl drag.
#pragma once

#include <QCursor>

#include "ui/PictureList.h"

class ProgramFolder;

class PictureLists {
public:
    static constexpr int kEffectCount = 6;       // effect codes 0..5
    static constexpr int kTransitionCount = 18;  // transition codes 100..117
    static constexpr int kFirstTransitionCode = 100;
    static constexpr QSize kPictureSize{30, 17};

    PictureLists();

    // Loads every picture and the cursor from the supplied files; false when anything is missing
    // (what was found is still used, a missing picture draws nothing, a missing cursor is the
    // standard copy-drag cursor).
    bool Load(const ProgramFolder& folder);

    // Picture index of a transition code in ilTrs / ilTrsDs (-1 for codes without one).
    static int TransitionIndex(int transitionCode);

    PictureList ilEffect;
    PictureList ilTrs;
    PictureList ilEffectDs;
    PictureList ilTrsDs;
    QCursor copyCursor;
};
