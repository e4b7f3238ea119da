// Splits the bytes of a caption or style file into rows of columns. Both files share the rules:
// lines end at LF, a TAB or CR ends a column, "$$" starts a comment line, and a column longer
// than its field is dropped (left empty) while the rest of the line is still read.
#pragma once

#include <QByteArray>
#include <QList>

using ColumnRow = QList<QByteArray>;

// capacities: the field size in bytes of each column the file reads, in column order; later
// columns are ignored. Each row holds exactly capacities.size() columns.
QList<ColumnRow> ParseColumnLines(const QByteArray& buffer, const QList<int>& capacities);
