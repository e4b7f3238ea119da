// The words assistive technologies say for the edit list, in the user's language: the list's
// name, the column titles, the tape change entry and the effects' and transitions' names.
#pragma once

#include <QString>
#include <QStringList>

class CaptionTable;

struct SceneListWords {
    enum Column { Number, In, Effect, Out, Transition, Duration, Memo, ColumnCount };

    QString listName;
    QStringList columns;  // ColumnCount titles
    QString tapeChange;
    QStringList buttonNames;  // the effect toolbar's names, by button

    static SceneListWords FromCaptions(const CaptionTable& captions);
    QString EffectName(int effect) const;
    QString TransitionName(int transition) const;
};
