// Builders and views of scene lists shared by the list, project file and EDL tests.
#pragma once

#include <QStringList>

#include "edit/SceneList.h"

// Row 0 plus `scenes` scene rows whose memos are "r1", "r2", ... so that tests can follow rows
// through moves; each scene lasts `i` seconds from 00:01:00:00 on.
inline void FillScenes(SceneList& list, int scenes) {
    list.ClearList();
    for (int i = 1; i <= scenes; ++i) {
        list.SelectOnly(i - 1);
        list.AddRow(SceneList::RowKind::Scene);
        list.ModifyRow(i, "00:01:00:00",
                       QStringLiteral("00:01:%1:00").arg(i % 60, 2, 10, QChar('0')),
                       QStringLiteral("r%1").arg(i), false);
    }
}

inline QStringList Memos(const SceneList& list) {
    QStringList memos;
    for (int i = 0; i < list.count(); ++i)
        memos << list.row(i).memo;
    return memos;
}

// What a file carries of each row, one line per row so that a failure shows the whole list.
inline QStringList RowTexts(const std::vector<Scene>& rows) {
    QStringList lines;
    for (const Scene& r : rows) {
        lines << QStringLiteral("%1 %2 %3 e%4 t%5 [%6]")
                     .arg(r.tapeChange ? "TAPE" : "SCENE", r.inText, r.outText)
                     .arg(r.effect)
                     .arg(r.transition)
                     .arg(r.memo);
    }
    return lines;
}

inline QStringList RowTexts(const SceneList& list) {
    std::vector<Scene> rows;
    for (int i = 0; i < list.count(); ++i)
        rows.push_back(list.row(i));
    return RowTexts(rows);
}

inline QList<int> SelectedRows(const SceneList& list) {
    QList<int> rows;
    for (int i = 0; i < list.count(); ++i) {
        if (list.row(i).selected)
            rows << i;
    }
    return rows;
}

inline void SelectRows(SceneList& list, std::initializer_list<int> rows) {
    list.SelectOnly(*rows.begin());
    for (int r : rows)
        list.AddToSelection(r);
}
