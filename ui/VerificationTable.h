// The verification report of an Auto Rec as the program shows it: the table's header and rows
// in the user's language (one row a scene; a scene whose recorder could not be read, and the
// point where a resumed run began, as a row with one sentence; a retaken scene followed by a
// sentence with the error of each take; scenes still off marked), the advice on the out-point
// correction, why the run stopped when it did not finish, and the same as plain text with
// aligned columns for the clipboard and a file.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class CaptionTable;
class VerificationReport;

struct VerificationTable {
    enum Column { ColScene, ColRow, ColExpected, ColRecorded, ColDifference, ColSeam, ColumnCount };

    struct Line {
        QStringList cells;   // all columns; a note leaves them empty
        QString note;        // a sentence after the first cells (not readable, resumed here)
        int noteColumn = 0;  // where the note begins
        bool resumeMark = false;
        int difference = 0;     // frames, for a scene whose recorder was read
        bool stillOff = false;  // further off than the retakes allow
    };

    QStringList header;
    std::vector<Line> lines;
    QString advice;      // empty when the lengths are right
    QString stopReason;  // empty when the run finished

    QString Text() const;
};

VerificationTable BuildVerificationTable(const VerificationReport& report,
                                         const CaptionTable& captions);
