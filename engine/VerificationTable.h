// The verification report of an Auto Rec as the user reads it, in the window and on the
// terminal: the table's header and rows in the user's language (one row a scene; a scene whose
// recorder could not be read, and the point where a resumed run began, as a row with one
// sentence; a retaken scene followed by a sentence with the error of each take, or with the
// retake the run stopped in; scenes still off marked; what a longer take left after the last
// scene), the advice on the out-point correction and what it rests on, why the run stopped when
// it did not finish, and the same as plain text with aligned columns.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class CaptionTable;
class VerificationReport;

struct VerificationTable {
    enum Column { ColScene, ColRow, ColExpected, ColRecorded, ColDifference, ColSeam, ColumnCount };

    struct Line {
        QStringList cells;  // all columns; a note leaves them empty
        QString note;       // a sentence after the first cells (not readable, resumed here, strays)
        int noteColumn = 0;  // where the note begins
        bool resumeMark = false;
        int difference = 0;    // frames, for a scene whose recorder was read
        bool flagged = false;  // off after its retakes, or strays: for the user to look at on tape
    };

    QStringList header;
    std::vector<Line> lines;
    QString advice;      // empty when the lengths are right
    QString stopReason;  // empty when the run finished

    QString Text() const;
};

VerificationTable BuildVerificationTable(const VerificationReport& report,
                                         const CaptionTable& captions);
