#include "config/CaptionFileParser.h"

namespace {

constexpr char kTab = '\t';
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

ColumnRow ParseLine(QByteArrayView line, const QList<int>& capacities) {
    ColumnRow row(capacities.size());
    qsizetype column = 0;
    qsizetype columnStart = 0;
    for (qsizetype i = 0; i < line.size() && column < capacities.size(); ++i) {
        if (line[i] != kTab && line[i] != kCarriageReturn)
            continue;
        const QByteArrayView text = line.sliced(columnStart, i - columnStart);
        if (text.size() <= capacities[column])
            row[column] = text.toByteArray();
        ++column;
        columnStart = i + 1;
    }
    // Whatever follows the last TAB or CR ends no column: without a CR before the line feed the
    // last column of a line is not stored.
    return row;
}

}  // namespace

QList<ColumnRow> ParseColumnLines(const QByteArray& buffer, const QList<int>& capacities) {
    QList<ColumnRow> rows;
    qsizetype lineStart = 0;
    // Only bytes up to a line feed form a line; a final line without one is not read.
    for (qsizetype end = buffer.indexOf(kLineFeed); end >= 0;
         lineStart = end + 1, end = buffer.indexOf(kLineFeed, lineStart)) {
        const QByteArrayView line = QByteArrayView(buffer).sliced(lineStart, end - lineStart);
        if (line.startsWith("$$"))
            continue;
        rows << ParseLine(line, capacities);
    }
    return rows;
}
