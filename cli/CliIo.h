// Small output helpers shared by the clipwright-cli commands.
#pragma once

#include <QString>

void PrintLine(const QString& text);
void PrintError(const QString& text);
