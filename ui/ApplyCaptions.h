// Gives a window's controls their captions, hints and fonts from the caption and style tables,
// finding each control by its objectName.
#pragma once

#include <QtGlobal>

class CaptionTable;
class QWidget;

// Point sizes come out one smaller on screens of more than 108 pixels per inch.
int SizeAdjustForDpi(qreal dotsPerInch);

// Uses the pixels per inch of the screen the window is on.
void ApplyCaptions(QWidget* window, const CaptionTable& table);
void ApplyCaptions(QWidget* window, const CaptionTable& table, qreal dotsPerInch);
