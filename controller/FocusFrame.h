// The focus frame of the controller's keys and pictures: the skin draws no focus ring of its
// own, so the control that Space or Enter works is ringed in the skin's accent colour, rounded as
// its key caps are.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

void PaintFocusFrame(QPainter& painter, const QRect& area, const QColor& colour);
