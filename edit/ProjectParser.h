// Readers of the two project formats, on the bytes of a file: the tab-separated .cwf project and
// the legacy fixed-width .trn listing with its .fxd effect records. They build rows without
// touching the list, so a refused file leaves the list as it was.
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

#include "edit/Scene.h"

// Field `column` (from 0) of line `line` (from 1): lines end at CR and the next starts two bytes
// later, fields end at TAB or CR or the end of the data. Column 0 of every line after the first
// keeps its terminating CR or TAB, which the readers use to tell line lengths. A field that does
// not exist is empty.
QByteArray GetField(const QByteArray& data, int line, int column);

// The rows of a .cwf file, or nothing when any check fails: the TCMode and Scenes lines, a scene
// count of 1..100, and for each row in and out fields of a blank and eleven characters with digits
// at the digit places, and numeric effect, transition and tape-change columns. Texts are read as
// UTF-8 when valid, else in the legacy code page of `language`.
std::optional<std::vector<Scene>> ParseProject(const QByteArray& data, int language);

struct LegacyProject {
    // Row 0 carries the title as its memo; then one scene per accepted line.
    std::vector<Scene> rows;
    // For each line of the file (from line 1, the title), the row made of it, or -1 for a line
    // that was not a row; .fxd record s belongs to line s + 1.
    std::vector<int> rowOfLine;
};

// The rows of a .trn file. Lines that are not rows (wrong length, non-digits in a time) are
// skipped; this never fails.
LegacyProject ParseLegacy(const QByteArray& data, int language);

// Sets effect and transition of the rows from the records of a .fxd file, translating the legacy
// numbers; malformed records are skipped.
void ApplyLegacyEffects(const QByteArray& fxdData, LegacyProject& project);
