// The request to change the player's tape at a tape-change row of an Auto Rec: the fixed request,
// and under it which tape comes next, so that the user picks up the right cassette.
#pragma once

#include <QString>
#include <vector>

#include "edit/Scene.h"

class CaptionTable;

// MSG_TAPECH, then "Next: " with the row's memo; a row without a memo names the tape by its
// number in the list (row 0 holds the first tape).
QString TapeChangeText(const std::vector<Scene>& rows, int row, const CaptionTable& captions);
