// Builders and views of scene lists shared by the list and project file tests.
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
