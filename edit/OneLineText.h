// A text that must stay on one line of a file or of the terminal: its TABs and line breaks
// become blanks, so that a memo never splits the line it is written on.
#pragma once

#include <QString>

inline QString OneLineText(QString text) {
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}
